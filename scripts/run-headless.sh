#!/usr/bin/env bash
# Plays the demo on a machine without a display: inside a private Xvfb server,
# holding Escape after DEDOZ_HEADLESS_SECONDS (default 10) unless it ended first.
# Usage: scripts/run-headless.sh path/to/dedoz   (run from the repository root)
# Returns the demo's exit status.
set -u
dedoz="${1:?usage: run-headless.sh path/to/dedoz}"
seconds="${DEDOZ_HEADLESS_SECONDS:-10}"
here="$(cd "$(dirname "$0")" && pwd)"

echo "No display found: running the demo inside a virtual X server (Xvfb) for ${seconds} s, then holding Escape; nothing will be visible."
exec "$here/../tests/xvfb-run.sh" bash -c '
  "$1" &
  demo=$!
  for _ in $(seq 1 $(( $2 * 10 ))); do
    kill -0 "$demo" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$demo" 2>/dev/null; then
    xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
  fi
  wait "$demo"
' headless "$dedoz" "$seconds"
