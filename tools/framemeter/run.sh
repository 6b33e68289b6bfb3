#!/usr/bin/env bash
# Plays the real demo once, start to end, with the frame log on, and prints the
# frame intervals per scene (framemeter): frames, median, 99th percentile, maximum
# and share within one 60 Hz refresh (16.7 ms), then the load of the machine.
# Without a display the demo plays inside a private Xvfb whose screen is SCREEN
# (default 640x480x24); the window size is data/settings.ini's, as in any run.
# Usage (from the repository root): tools/framemeter/run.sh [BUILD_DIR]   (default: build)
# Environment: FRAME_LOG (where the log is kept; default BUILD_DIR/frames.log),
# SCREEN (the Xvfb screen).
set -eu
build="${1:-build}"
log="${FRAME_LOG:-$build/frames.log}"
cmake --build "$build" --target dedoz framemeter -j2 >/dev/null

if [ -n "${DISPLAY:-}" ]; then
  DEDOZ_FRAME_LOG="$log" "$build/dedoz" >/dev/null
else
  DEDOZ_FRAME_LOG="$log" DEDOZ_XVFB_SCREEN="${SCREEN:-640x480x24}" \
    tests/xvfb-run.sh "$build/dedoz" >/dev/null
fi
"$build/tools/framemeter/framemeter" "$log"
echo "(CPU: $(nproc) cores; load average after the run $(cut -d' ' -f1-3 /proc/loadavg); log: $log)"
