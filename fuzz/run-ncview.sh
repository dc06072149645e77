#!/bin/sh
# Builds the NC viewer's toolpath fuzz target with clang and runs it.
#   fuzz/run-ncview.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz-ncview, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

name=run-ncview.sh
default_out=build-fuzz-ncview
. "$(dirname "$0")/common.sh"
fuzz_begin "$@"
fuzz_build NcViewFuzz

# Seed corpus: a FANUC program with a tool change, arcs and cycles; an OSP one; faulty lines (a word
# without number, an arc without centre or off its circle, a cycle above R, no feed); a cut file;
# binary bytes; absurd numbers; a line longer than the reader keeps.
seeds=$out/seeds
printf '%%\r\nO0001\r\nT01\r\nM06\r\nG90 G00 G54 X0. Y0.\r\nG43 H01 Z50.\r\nS1200 M03\r\nG00 X10. Y10.\r\nG01 Z-5. F100\r\nG03 X20. Y20. I0. J10.\r\nG02 X10. Y10. I-10. J0.\r\nT02 M06\r\nG98 G81 X10. Y20. R3. Z-15. F120\r\nX30.\r\nG80\r\nG98 G83 X0. Y0. R3. Z-10. Q4. F100\r\nG80\r\nM30\r\n%%\r\n' >"$seeds/fanuc.nc"
printf 'G15H01\nT03\nM06\nG56 H03 Z50.\nG98 G84 G95 X5. Y5. R5. Z-20. F1.25 S800\nG80\nG30 P1\nM02\n%%\n' >"$seeds/osp.nc"
printf 'G01 X10. Y F100\nG02 X20. Y0. I0. J0.\nG03 X30. Y5. I5. J0.\nG81 X0. Y0. R-5. Z3. F50\nG01 X1. F0\nG03 I-10.\n' >"$seeds/faults.nc"
printf '%%\r\nO0001\r\nG00 X10. Y10.\r\nG01 X20. Y1' >"$seeds/cut.nc"
printf '\001\002\377\000\200z\nG00 X5. Y5.\n\201\n' >"$seeds/binary.nc"
printf 'G00 X1e308 Y-1e308 Z1e308\nG02 X1e300 I1e308 J-1e308\nG83 R1e6 Z-1e6 Q1e-9 F1\nT99999999999 M06\n' >"$seeds/numbers.nc"
{ printf 'G00 X10. ('; head -c 5000 /dev/zero | tr '\0' 'A'; printf ') Y99.\r\nG00 X0.\r\n'; } >"$seeds/long.nc"

dict=$out/ncview.dict
cat >"$dict" <<'D'
"\x0d\x0a"
"\x0a"
"G00"
"G01"
"G02"
"G03"
"G80"
"G81"
"G83"
"G84"
"G54"
"G43"
"M06"
"M03"
"M30"
"%"
" T"
" X"
" Y"
" Z"
" I"
" J"
" R"
" Q"
" F"
"("
")"
"\x83\x53"
"-."
"1e308"
D

fuzz_run NcViewFuzz 16384 10 "$dict"
