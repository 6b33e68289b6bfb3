#!/usr/bin/env bash
# Prints the cost of a capture at 640x480 and 1920x1080 on Mesa's software driver
# in a private Xvfb: milliseconds per frame of rendering (chain + glFinish),
# pixel-buffer read-back and encoding (H.264 + AAC), what the last two add to the
# rendering, and frames per second with and without the split.
# Usage (from the repository root): tools/capturebench/run.sh [BUILD_DIR]
# Environment: FRAMES_SMALL, FRAMES_LARGE (frames per size).
set -eu
build="${1:-build}"
frames_small="${FRAMES_SMALL:-300}"
frames_large="${FRAMES_LARGE:-100}"
cmake --build "$build" --target capturebench -j2 >/dev/null

field() { sed -n "s/.* $2=\([^ ]*\).*/\1/p" <<<"$1"; }
printf '%-11s %9s %11s %9s %7s %10s %12s\n' size render_ms readback_ms encode_ms added split_fps capture_fps
for size in "640 480 $frames_small" "1920 1080 $frames_large"; do
  # shellcheck disable=SC2086
  line="$(tests/xvfb-run.sh "$build/tools/capturebench/capturebench" $size | grep '^capturebench ' | tail -n1)"
  set -- $size
  printf '%-11s %9s %11s %9s %7s %10s %12s\n' "${1}x${2}" "$(field "$line" render_ms)" \
    "$(field "$line" readback_ms)" "$(field "$line" encode_ms)" "$(field "$line" added)" \
    "$(field "$line" split_fps)" "$(field "$line" capture_fps)"
done
echo "(CPU: $(nproc) cores; load average $(cut -d' ' -f1-3 /proc/loadavg))"
