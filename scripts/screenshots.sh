#!/usr/bin/env bash
# Renders the desktop windows and screens to PNG files in OUTDIR: NAME.png at 100 % and NAME@2x.png at
# 200 %, with the Japanese fonts (fonts-noto-cjk), on Qt's offscreen platform. The renderer runs in a
# copy of the program folder, so the build's own installation is not touched.
# Usage: scripts/screenshots.sh OUTDIR [BUILD_DIR]
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 OUTDIR [BUILD_DIR]" >&2
  exit 2
fi
out=$(realpath -m "$1")
build=${2:-build}
cmake --build "$build" -j2 --target talvorin-screenshots talvorin talvorin-cli talvorin-ncview-screenshots \
  talvorin-companion-screenshots program_folder >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$build/TALVORIN/." "$work/"
rm -rf "$work/Log"
mkdir -p "$out" "$work/2x"
export QT_QPA_PLATFORM=offscreen
"$work/talvorin-screenshots" "$out"
QT_SCALE_FACTOR=2 "$work/talvorin-screenshots" "$work/2x"
# The NC viewer on the shipped FANUC example's program, made by the main job in the copy.
(cd "$work" && ./talvorin-cli --quiet run EXAMPLE-FANUC >/dev/null)
(cd "$work" && ./talvorin-ncview-screenshots "$out" ncdata/O1001.NC && \
  QT_SCALE_FACTOR=2 ./talvorin-ncview-screenshots "$work/2x" ncdata/O1001.NC)
"$work/talvorin-companion-screenshots" "$out"
QT_SCALE_FACTOR=2 "$work/talvorin-companion-screenshots" "$work/2x"
for f in "$work"/2x/*.png; do
  name=$(basename "$f" .png)
  cp "$f" "$out/$name@2x.png"
done
echo "screenshots in $out"
