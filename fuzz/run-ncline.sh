#!/bin/sh
# Builds the NC line fuzz target of the machining time estimate with clang and runs it.
#   fuzz/run-ncline.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz-ncline, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

name=run-ncline.sh
default_out=build-fuzz-ncline
. "$(dirname "$0")/common.sh"
fuzz_begin "$@"
fuzz_build NcLineFuzz

# Seed corpus: a FANUC and an OSP drilling process, arcs, a G83 with a tiny peck, a G84 with G95,
# CR LF and LF ends, a last line without a line end, a comment in CP932, absurd numbers and a line
# longer than the reader keeps.
seeds=$out/seeds
printf '%%\r\nO0001\r\nG90 G17 G40 G49 G80\r\nT03\r\nM06\r\nG90 G00 G54 X0. Y0.\r\nG43 H03 Z50.\r\nS1200 M03\r\nG98 G81 X10. Y20. R3. Z-15. F120\r\nX30.\r\nG80\r\nM30\r\n%%\r\n' >"$seeds/fanuc.nc"
printf 'G15H01\nG56 H03 Z50.\nG98 G83 X0. Y0. R3. Z-10. Q4. F100\nG80\nG30 P1\nM02' >"$seeds/osp.nc"
printf 'G01 F100\nG03 I-10.\nG02 X0. Y-10. I-10.\nG03 X-10. Y0. J-10.\nG02 X10. Y0. J0.0001\n' >"$seeds/arcs.nc"
# (穴あけ) in CP932, then a peck of almost nothing and a tapping block in feed per revolution.
printf '(\214\212\202\240\202\257)\nS800 M03\nG98 G83 R1e6 Z-1e6 Q1e-9 F1\nG98 G84 G95 R5. Z-20. F1.25\n' >"$seeds/cycles.nc"
printf 'G00 X1e308 Y-1e308 Z1e308\nG01 X-- Y. F0\nG02 Inan Jinf\nG84 G95 F-1 S1e400\n' >"$seeds/numbers.nc"
{ printf 'G00 X10. ('; head -c 5000 /dev/zero | tr '\0' 'A'; printf ') Y99.\r\nG00 X0.\r\n'; } >"$seeds/long.nc"

dict=$out/ncline.dict
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
"G95"
"G54"
"G43"
"M06"
"M03"
" X"
" Y"
" Z"
" I"
" J"
" R"
" Q"
" F"
" S"
"("
")"
"\x83\x53"
"-."
"1e308"
D

fuzz_run NcLineFuzz 16384 10 "$dict"
