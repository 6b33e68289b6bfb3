#!/usr/bin/env bash
# Plays the real demo once, start to end, with the frame log on, and prints the
# frame intervals per scene (framemeter): frames, median, 99th percentile, maximum
# and share within one 60 Hz refresh (16.7 ms), then the load of the machine.
# Without a display the demo plays inside a private Xvfb whose screen is SCREEN
# (default 640x480x24); the window size is data/settings.ini's, as in any run.
# Usage (from the repository root): tools/framemeter/run.sh [BUILD_DIR]   (default: build)
# Environment: FRAME_LOG (where the log is kept; default BUILD_DIR/frames.log),
# SCREEN (the Xvfb screen), DEDOZ (the program to play, default BUILD_DIR/dedoz:
# a copy of an earlier build there compares before and after in one session).
# Each run takes the show's length (about 105 s); the table's CPU columns are the
# CPU time per frame, which a busy machine changes far less than the intervals.
set -eu
build="${1:-build}"
log="${FRAME_LOG:-$build/frames.log}"
demo="${DEDOZ:-$build/dedoz}"
cmake --build "$build" --target dedoz framemeter -j2 >/dev/null

if [ -n "${DISPLAY:-}" ]; then
  DEDOZ_FRAME_LOG="$log" "$demo" >/dev/null
else
  DEDOZ_FRAME_LOG="$log" DEDOZ_XVFB_SCREEN="${SCREEN:-640x480x24}" \
    tests/xvfb-run.sh "$demo" >/dev/null
fi
"$build/tools/framemeter/framemeter" "$log"
echo "($demo; CPU: $(nproc) cores; load average after the run $(cut -d' ' -f1-3 /proc/loadavg); log: $log)"
