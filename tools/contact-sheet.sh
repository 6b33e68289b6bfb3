#!/usr/bin/env bash
# Renders one contact sheet of the show for reviewing any change to the look: the
# capture tool's stills at fixed moments, each scaled to a 320-pixel-wide tile
# with its time written in the corner, four tiles a row, as one PNG.
# Usage (from the repository root, after building dedoz-capture):
#   tools/contact-sheet.sh [OUT.png [WxH [GLOW]]]
#     OUT   the sheet (default build/contact-sheet.png)
#     WxH   size of the stills (default 640x480)
#     GLOW  1 (full size, the capture's default) or 2 (half size)
# Environment: BUILD_DIR (default build); MOMENTS, milliseconds separated by commas
# (default 3, 10, 20, 40, 52, 58, 62, 67, 70, 85 and 95 s).
# Without a display the capture runs inside Xvfb (tests/xvfb-run.sh). Tiles and
# sheet are made with ffmpeg, which the capture tool's build already installs.
set -euo pipefail
out="${1:-build/contact-sheet.png}"
size="${2:-640x480}"
glow="${3:-1}"
build="${BUILD_DIR:-build}"
moments="${MOMENTS:-3000,10000,20000,40000,52000,58000,62000,67000,70000,85000,95000}"

capture=("$build/dedoz-capture" --size "$size" --glow "$glow" --stills "$moments")
if [ -z "${DISPLAY:-}" ]; then
  capture=(tests/xvfb-run.sh "${capture[@]}")
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if ! "${capture[@]}" --out "$work/still.png" >"$work/capture.log" 2>&1; then
  tail -n 5 "$work/capture.log" >&2
  echo "contact-sheet.sh: the capture failed" >&2
  exit 1
fi

# One tile per still, numbered in the order of the moments: the time as seconds
# ("52 s", "1.5 s") in white on a dark box in the top-left corner.
index=0
IFS=',' read -r -a list <<<"$moments"
for ms in "${list[@]}"; do
  label="$(awk -v ms="$ms" 'BEGIN { printf "%g s", ms / 1000 }')"
  ffmpeg -v error -y -i "$work/still-$ms.png" \
    -vf "scale=320:-2,drawtext=text='$label':fontcolor=white:fontsize=20:box=1:boxcolor=black@0.7:boxborderw=4:x=6:y=6" \
    "$(printf '%s/tile-%02d.png' "$work" "$index")"
  index=$((index + 1))
done

rows=$(((index + 3) / 4))
mkdir -p "$(dirname "$out")"
ffmpeg -v error -y -framerate 1 -i "$work/tile-%02d.png" \
  -vf "tile=4x$rows:padding=4:margin=4:color=0x303030" -frames:v 1 "$out"
echo "Wrote $out: $index stills at $size, glow $glow"
