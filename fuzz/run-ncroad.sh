#!/bin/sh
# Builds the NC road fuzz target (a project database planned and programmed) with clang and runs it.
#   fuzz/run-ncroad.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz-ncroad, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

name=run-ncroad.sh
default_out=build-fuzz-ncroad
. "$(dirname "$0")/common.sh"
fuzz_begin "$@"
fuzz_build NcRoadFuzz program_folder

# The run's own folder, removed at the end: a copy of the build's program folder (the shipped tables
# in CP932 with CR LF) and the database the target rewrites for every input.
fuzz_workdir ncroadfuzz
program=$work/TALVORIN
mkdir -p "$program"
cp -r "$tree/TALVORIN/." "$program/"

# Seed corpus: the two shipped projects (every hole kind, fifteen stored processes each), the same
# without their processes (so that planning saves), and one with absurd numbers in every place.
seeds=$out/seeds
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

export NCROAD_PROGRAM_FOLDER="$program" TMPDIR="$work"
fuzz_run NcRoadFuzz 65536 20 "$dict"
