#!/bin/sh
# Builds the EUKLID hole-file fuzz target with clang and runs it.
#   fuzz/run-euklid.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz-euklid, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

name=run-euklid.sh
default_out=build-fuzz-euklid
. "$(dirname "$0")/common.sh"
fuzz_begin "$@"
fuzz_build EuklidHoleFuzz

# Seed corpus: the sample list, CR LF ends, a last line without a line end, lower-case and other
# types, missing and empty fields, blanks around the last field, CP932 bytes, and 21 circles.
seeds=$out/seeds
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

# The target makes its own folder under TMPDIR: a private one, so nothing is left behind.
fuzz_workdir holefuzz
export TMPDIR="$work"
fuzz_run EuklidHoleFuzz 16384 10 "$dict"
