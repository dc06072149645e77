#!/bin/sh
# Builds the profile store fuzz target with clang and runs it.
#   fuzz/run.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

name=run.sh
default_out=build-fuzz
. "$(dirname "$0")/common.sh"
fuzz_begin "$@"
fuzz_build ProfileFuzz

# Seed corpus: small CP932 profile files. The section name of the first holds ゾ (83 5D), whose trail
# byte is "]"; others cover the line ends, quotes, comments, duplicates and the UTF-8 byte-order mark.
seeds=$out/seeds
# [ゾーン] / 工具=12 / name="ドリル"
printf '[\203\135\201\133\203\223]\r\n\215\110\213\357=12\r\nname="\203\150\203\212\203\213"\r\n' >"$seeds/katakana.ini"
printf '[Tools]\r\nCount=3\r\nName = End mill \r\n; comment\r\n\r\n[tools]\r\nCount=9\r\n' >"$seeds/dup.ini"
printf 'top=1\n[A]\nx=-42abc\rY=\047q\047\n[B\nz=' >"$seeds/ends.ini"
printf '\357\273\277[\343\202\276]\r\nk=\346\227\245\346\234\254\r\n' >"$seeds/utf8bom.ini"
printf '[\203\135]\r\n[\201\135x]\r\nkey=\203\135\r\n\t[ \220\134 ]\r\n=empty\r\nv=\r\n' >"$seeds/trail.ini"

# Tokens of the format, so mutations build lines rather than noise.
dict=$out/profile.dict
cat >"$dict" <<'EOF'
"["
"]"
"="
";"
"\x0d\x0a"
"\x0a"
"\x0d"
"\xef\xbb\xbf"
"\x83\x5d"
"\x81\x5c"
"\x82\xa0"
"\xb1"
"\""
"'"
EOF

# The target makes its own folder under TMPDIR: a private one, so nothing is left behind.
fuzz_workdir profilefuzz
export TMPDIR="$work"
fuzz_run ProfileFuzz 16384 10 "$dict"
