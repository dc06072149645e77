#!/bin/sh
# Builds the NC road fuzz target (a project database planned and programmed) with clang and runs it.
#   fuzz/run-ncroad.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz-ncroad, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-build-fuzz-ncroad}
seconds=${2:-60}
case $seconds in
  '' | *[!0-9]*) echo "run-ncroad.sh: seconds must be a whole number: $seconds" >&2; exit 2 ;;
esac

mkdir -p "$out"
out=$(cd "$out" && pwd)
cxx=${CXX_FUZZ:-clang++}

# Everything the road runs through: the store, the shell's platform, the test doubles, the project, the
# tools, the hole groups, the processes and the generator (no start-up, no Qt).
sources=""
for f in "$root"/src/store/*.cpp "$root"/src/project/*.cpp "$root"/src/tools/*.cpp \
  "$root"/src/holes/*.cpp "$root"/src/process/*.cpp "$root"/src/ncgen/*.cpp \
  "$root"/src/shell/PosixPlatform.cpp "$root"/src/testing/TestDoubles.cpp \
  "$root"/src/shell/ProgramSetup.cpp "$root"/src/shell/CloseCommands.cpp; do
  # The CP932 converter of the build is a program of its own.
  case $f in */Cp932Convert.cpp) continue ;; esac
  sources="$sources $f"
done
# The build date header the build generates.
mkdir -p "$out/generated/shell"
sed -e 's/@TALVORIN_BUILD_YEAR@/2026/' -e 's/@TALVORIN_BUILD_MONTH@/1/' -e 's/@TALVORIN_BUILD_DAY@/1/' \
  "$root/src/shell/BuildDate.h.in" >"$out/generated/shell/BuildDate.h"

echo "building $out/NcRoadFuzz"
# shellcheck disable=SC2086
"$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer -Wall -Wextra -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" -I "$out/generated" \
  "$root/fuzz/NcRoadFuzz.cpp" $sources \
  -o "$out/NcRoadFuzz"

# The run's own folder, on the memory file system when there is one, removed at the end: the program
# folder (the shipped tables in CP932 with CR LF, as the build makes it) and the database the target
# rewrites for every input.
shm=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then shm=/dev/shm; fi
work=$(mktemp -d "$shm/ncroadfuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
program=$work/TALVORIN
(cd "$root/data" && find . -type f ! -name CMakeLists.txt) | while read -r file; do
  mkdir -p "$program/$(dirname "$file")"
  case $file in
    *.html | *.htm | *.bat | *.sh) iconv -f UTF-8 -t CP932 "$root/data/$file" >"$program/$file" ;;
    *) iconv -f UTF-8 -t CP932 "$root/data/$file" | sed 's/$/\r/' >"$program/$file" ;;
  esac
done

# Seed corpus: the two shipped projects (every hole kind, fifteen stored processes each), the same
# without their processes (so that planning saves), and one with absurd numbers in every place.
seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$out/corpus" "$out/artifacts"
for p in EXAMPLE-FANUC EXAMPLE-OSP; do
  cp "$program/db/$p.dat" "$seeds/$p.dat"
  awk '/^\[ncproc[0-9]/ { skip = 1; next } /^\[/ { skip = 0 } !skip' "$program/db/$p.dat" >"$seeds/$p-unplanned.dat"
done
sed -e 's/^variable0=.*/variable0=1e308/' -e 's/^X0=.*/X0=nan/' -e 's/^diam=.*/diam=1e-9/' \
  -e 's/^Q=.*/Q=0.0001/' -e 's/^StartZ=.*/StartZ=inf/' "$program/db/EXAMPLE-FANUC.dat" >"$seeds/absurd.dat"

dict=$out/ncroad.dict
cat >"$dict" <<'D'
"\x0d\x0a"
"["
"]="
"[hole1]"
"[ncproc1]"
"[machine]"
"[material]"
"command="
"variable0="
"variable5="
"X0="
"Y0="
"CX0="
"tool="
"diam="
"G="
"Z="
"Q="
"OFF="
"D="
"T="
"onumber="
"StartZ="
"[DRILL]"
"[NTAP]"
"[REAMER]"
"[COUNTERBORE]"
"[LONGHOLE]"
"[CBLONGHOLE]"
"[UGROOVE]"
"[BIGHOLE]"
"41"
"1e308"
"inf"
"nan"
"-0.001"
"99999.999"
D

echo "fuzzing for $seconds s"
status=0
NCROAD_PROGRAM_FOLDER=$program TMPDIR=$work "$out/NcRoadFuzz" \
  -seed="${FUZZ_SEED:-1}" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
  -dict="$dict" -artifact_prefix="$out/artifacts/" -print_final_stats=1 \
  "$out/corpus" "$seeds" || status=$?
if [ "$status" -ne 0 ]; then
  echo "run-ncroad.sh: the fuzzer found a fault (status $status); see $out/artifacts/" >&2
  exit 1
fi
echo "run-ncroad.sh: no fault found"
