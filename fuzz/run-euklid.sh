#!/bin/sh
# Builds the EUKLID hole-file fuzz target with clang and runs it.
#   fuzz/run-euklid.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz-euklid, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-build-fuzz-euklid}
seconds=${2:-60}
case $seconds in
  '' | *[!0-9]*) echo "run-euklid.sh: seconds must be a whole number: $seconds" >&2; exit 2 ;;
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

echo "building $out/EuklidHoleFuzz"
"$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer -Wall -Wextra -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" -I "$out/generated" \
  "$root/fuzz/EuklidHoleFuzz.cpp" "$root/src/euklid/HoleFile.cpp" \
  "$root/src/shell/ProgramSetup.cpp" "$root/src/shell/PosixPlatform.cpp" "$root/src/testing/TestDoubles.cpp" \
  $store \
  -o "$out/EuklidHoleFuzz"

# Seed corpus: the sample list, CR LF ends, a last line without a line end, lower-case and other
# types, missing and empty fields, blanks around the last field, CP932 bytes, and 21 circles.
seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$out/corpus" "$out/artifacts"
printf 'C,10,20,20,0\nC,10,60,20,0\nC,10,20,60,-5\nc,6,40,60,0\nC,9,80,30,0\nP,0,0,0,0\n' >"$seeds/sample.csv"
printf 'C,10,20,20,0\r\nC,6,40,60,-5\r\nC,9,80,30,0' >"$seeds/crlf.csv"
printf 'C\nC,\nC,,1,2,3\nC,5,1,2,\nC,5,1,2, 3 4\nCC,1,2,3,4\n,1,2,3,4\nc,1,2,3,4\n' >"$seeds/fields.csv"
printf 'C,\202\240,\203,1,2\nC,1234567890123456789,1,2,3\n' >"$seeds/bytes.csv"
i=0; while [ $i -lt 21 ]; do printf 'C,10,%d,0,0\n' $i; i=$((i + 1)); done >"$seeds/many.csv"

dict=$out/hole.dict
cat >"$dict" <<'D'
","
"\x0a"
"\x0d\x0a"
"C,"
"c,"
"P,"
"-5"
"\x82"
D

# The target makes its own folder under TMPDIR; a private one here, on the memory file system when
# there is one, so that nothing is left behind even after a crash.
shm=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then shm=/dev/shm; fi
work=$(mktemp -d "$shm/holefuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

echo "fuzzing for $seconds s"
status=0
TMPDIR=$work "$out/EuklidHoleFuzz" \
  -seed="${FUZZ_SEED:-1}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
  -dict="$dict" -artifact_prefix="$out/artifacts/" -print_final_stats=1 \
  "$out/corpus" "$seeds" || status=$?
if [ "$status" -ne 0 ]; then
  echo "run-euklid.sh: the fuzzer found a fault (status $status); see $out/artifacts/" >&2
  exit 1
fi
echo "run-euklid.sh: no fault found"
