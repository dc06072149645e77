#!/bin/sh
# Builds the profile store fuzz target with clang and runs it.
#   fuzz/run.sh [BUILD_DIR [SECONDS]]     (defaults: build-fuzz, 60)
# Exits non-zero when the build fails or the fuzzer finds anything; the crashing input is then in
# BUILD_DIR/artifacts/.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-build-fuzz}
seconds=${2:-60}
case $seconds in
  '' | *[!0-9]*) echo "run.sh: seconds must be a whole number: $seconds" >&2; exit 2 ;;
esac

mkdir -p "$out"
out=$(cd "$out" && pwd)
cxx=${CXX_FUZZ:-clang++}

echo "building $out/ProfileFuzz"
"$cxx" -std=c++20 -O1 -g -fno-omit-frame-pointer -Wall -Wextra -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$root/src" \
  "$root/fuzz/ProfileFuzz.cpp" \
  "$root/src/store/Cp932.cpp" "$root/src/store/ProfileParse.cpp" "$root/src/store/Profile.cpp" \
  "$root/src/store/Files.cpp" \
  -o "$out/ProfileFuzz"

# Seed corpus: small CP932 profile files. The section name of the first holds ゾ (83 5D), whose trail
# byte is "]"; others cover the line ends, quotes, comments, duplicates and the UTF-8 byte-order mark.
seeds=$out/seeds
rm -rf "$seeds"
mkdir -p "$seeds" "$out/corpus" "$out/artifacts"
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

# The target makes its own folder under TMPDIR; a private one here, on the memory file system when
# there is one, so that nothing is left behind even after a crash.
shm=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then shm=/dev/shm; fi
work=$(mktemp -d "$shm/profilefuzz-run.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

echo "fuzzing for $seconds s"
status=0
TMPDIR=$work "$out/ProfileFuzz" \
  -seed="${FUZZ_SEED:-1}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -dict="$dict" -artifact_prefix="$out/artifacts/" -print_final_stats=1 \
  "$out/corpus" "$seeds" || status=$?
if [ "$status" -ne 0 ]; then
  echo "run.sh: the fuzzer found a fault (status $status); see $out/artifacts/" >&2
  exit 1
fi
echo "run.sh: no fault found"
