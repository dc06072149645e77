#!/bin/sh
# Builds the curve-file fuzz target of the contour drawing and the contour program with clang and runs it.
#   fuzz/run-curve.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz-curve, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-build-fuzz-curve}
seconds=${2:-60}
case $seconds in
  '' | *[!0-9]*) echo "run-curve.sh: seconds must be a whole number: $seconds" >&2; exit 2 ;;
esac

mkdir -p "$out"
out=$(cd "$out" && pwd)
cxx=${CXX_FUZZ:-clang++}

# The build date the shell's set-up compiles in; any fixed date serves here.
mkdir -p "$out/generated/shell"
cat >"$out/generated/shell/BuildDate.h" <<'H'
#pragma once
#define TALVORIN_BUILD_YEAR 2026
#define TALVORIN_BUILD_MONTH 6
#define TALVORIN_BUILD_DAY 3
H

# The store whole, but for the build's converter program.
store=
for f in "$root"/src/store/*.cpp; do
  case $f in */Cp932Convert.cpp) ;; *) store="$store $f" ;; esac
done

# The contour writer goes through the NC generator's move blocks, which name the process store, the
# project database and the hole groups: those libraries whole.
road=
for f in "$root"/src/ncgen/*.cpp "$root"/src/process/*.cpp "$root"/src/project/*.cpp "$root"/src/holes/*.cpp \
  "$root"/src/tools/*.cpp; do
  road="$road $f"
done

echo "building $out/CurveFuzz"
"$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer -Wall -Wextra -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" -I "$out/generated" \
  "$root/fuzz/CurveFuzz.cpp" \
  "$root/src/lindrel/CurveFile.cpp" "$root/src/lindrel/EuklidDrawing.cpp" \
  "$root/src/dxf/DxfWriter.cpp" "$root/src/dxf/DrawingProgram.cpp" \
  "$root/src/euklid/ContourPath.cpp" $road \
  "$root/src/shell/ProgramSetup.cpp" "$root/src/shell/PosixPlatform.cpp" "$root/src/testing/TestDoubles.cpp" \
  "$root/src/shell/StartUp.cpp" "$root/src/shell/CloseCommands.cpp" \
  $store \
  -o "$out/CurveFuzz"

# Seed corpus: the example contour, CR LF ends, a last line without a line end, missing and empty
# fields, lower-case types, a closed arc, an arc ending on its centre, numbers atof takes oddly, and a
# line longer than the reader keeps.
seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$out/corpus" "$out/artifacts"
printf 'P,10,0,-5,0,0,90\nL,30,0,-5,0,0,0\nC,30,20,-5,30,10,-10\nP,30,20,-5,0,0,0\n' >"$seeds/example.csv"
printf 'P,1,0,0,0,0,90\r\nL,2,0,0,0,0,0\r\nC,2,2,0,2,1,-1\r\nP,2,2,0,0,0,0' >"$seeds/crlf.csv"
printf 'L,5\nL,,3,4,5,6,7\nC,1,2,3,4,5,\nl,1,1,0,0,0,0\nc,1,1,0,0,0,1\n\n,1,2,3,4,5,6\n' >"$seeds/fields.csv"
printf 'P,10,0,0,0,0,0\nC,10,0,0,0,0,5\nC,5.0005,5,0,5,5,-5\nL,0,0,0,0,0,0\n' >"$seeds/circle.csv"
printf 'P,nan,inf,0,0,0,0\nC,1e308,-1e308,0,0x1p3,-.5e-3,inf\nL,-inf,nan,0,0,0,0\nC,1,1,0,0,0,1e300\n' >"$seeds/numbers.csv"
{ printf 'P,0,0,0,0,0,0\nL,1,2,3,4,5,6,'; head -c 6000 /dev/zero | tr '\0' '9'; printf '\nL,3,3,0,0,0,0\n'; } >"$seeds/long.csv"

dict=$out/curve.dict
cat >"$dict" <<'D'
","
"\x0a"
"\x0d\x0a"
"P,"
"L,"
"C,"
"nan"
"inf"
"1e308"
"-0"
"0x1p"
".5"
"0.001"
"\x00"
D

# The target makes its own folder under TMPDIR; a private one here, on the memory file system when
# there is one, so that nothing is left behind even after a crash.
shm=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then shm=/dev/shm; fi
work=$(mktemp -d "$shm/curvefuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

echo "fuzzing for $seconds s"
status=0
TMPDIR=$work "$out/CurveFuzz" \
  -seed="${FUZZ_SEED:-1}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
  -dict="$dict" -artifact_prefix="$out/artifacts/" -print_final_stats=1 \
  "$out/corpus" "$seeds" || status=$?
if [ "$status" -ne 0 ]; then
  echo "run-curve.sh: the fuzzer found a fault (status $status); see $out/artifacts/" >&2
  exit 1
fi
echo "run-curve.sh: no fault found"
