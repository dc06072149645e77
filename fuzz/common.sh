# Steps every fuzz script shares; sourced by fuzz/run*.sh after setting `name` (the script's name for
# its messages) and `default_out` (its build folder).
#   fuzz_begin "$@"            the arguments BUILD_DIR and SECONDS: sets root, out, seconds
#   fuzz_build TARGET...       builds the targets in the shared CMake tree (clang, TALVORIN_FUZZ): the
#                              libraries are compiled once for all targets and linked whole, as the
#                              programs link them; sets tree (the tree's folder)
#   fuzz_workdir PREFIX        a private folder on the memory file system when there is one, removed
#                              at exit even after a crash: sets work
#   fuzz_run TARGET MAX_LEN TIMEOUT DICT   runs TARGET over BUILD_DIR/corpus and BUILD_DIR/seeds from a
#                              fixed seed (FUZZ_SEED, 1 unless set; 0 picks a random one), so a run
#                              repeats the one made before landing; fails when it finds anything
# FUZZ_TREE names the CMake tree (default: build-fuzz-tree in the source folder), CXX_FUZZ the compiler.
# Environment for the target (TMPDIR and the like) is passed by prefixing the fuzz_run call.

fuzz_begin() {
  root=$(cd "$(dirname "$0")/.." && pwd)
  out=${1:-$default_out}
  seconds=${2:-60}
  case $seconds in
    '' | *[!0-9]*) echo "$name: seconds must be a whole number: $seconds" >&2; exit 2 ;;
  esac
  mkdir -p "$out"
  out=$(cd "$out" && pwd)
  rm -rf "$out/seeds"
  mkdir -p "$out/seeds" "$out/corpus" "$out/artifacts"
}

fuzz_build() {
  tree=${FUZZ_TREE:-$root/build-fuzz-tree}
  if [ ! -f "$tree/CMakeCache.txt" ]; then
    # ccache, where there is one, keeps the objects of earlier trees.
    launcher=$(command -v ccache || true)
    cmake -S "$root" -B "$tree" -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" -DCMAKE_BUILD_TYPE=None \
      -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" \
      -DCMAKE_CXX_FLAGS="-O1 -g" -DTALVORIN_FUZZ=ON -DTALVORIN_BUILD_TESTS=OFF -DTALVORIN_BUILD_BENCH=OFF \
      -DTALVORIN_BUILD_GUI=OFF >/dev/null
  fi
  echo "building $*"
  for target in "$@"; do
    cmake --build "$tree" -j2 --target "$target"
  done
}

fuzz_workdir() {
  shm=/tmp
  if [ -d /dev/shm ] && [ -w /dev/shm ]; then shm=/dev/shm; fi
  work=$(mktemp -d "$shm/$1-run.XXXXXX")
  trap 'rm -rf "$work"' EXIT INT TERM
}

fuzz_run() {
  echo "fuzzing for $seconds s"
  status=0
  "$tree/fuzz/$1" -seed="${FUZZ_SEED:-1}" -max_total_time="$seconds" -timeout="$3" -rss_limit_mb=2048 \
    -max_len="$2" -dict="$4" -artifact_prefix="$out/artifacts/" -print_final_stats=1 \
    "$out/corpus" "$out/seeds" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "$name: the fuzzer found a fault (status $status); see $out/artifacts/" >&2
    exit 1
  fi
  echo "$name: no fault found"
}
