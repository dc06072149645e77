#!/bin/sh
# Builds the curve-file fuzz target of the contour drawing and the contour program with clang and runs it.
#   fuzz/run-curve.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz-curve, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

name=run-curve.sh
default_out=build-fuzz-curve
. "$(dirname "$0")/common.sh"
fuzz_begin "$@"
fuzz_build CurveFuzz

# Seed corpus: the example contour, CR LF ends, a last line without a line end, missing and empty
# fields, lower-case types, a closed arc, an arc ending on its centre, numbers atof takes oddly, and a
# line longer than the reader keeps.
seeds=$out/seeds
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

# The target makes its own folder under TMPDIR: a private one, so nothing is left behind.
fuzz_workdir curvefuzz
export TMPDIR="$work"
fuzz_run CurveFuzz 16384 10 "$dict"
