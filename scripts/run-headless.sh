#!/usr/bin/env bash
# Plays the demo on a machine without a display: inside a private Xvfb server,
# to its end. With DEDOZ_HEADLESS_SECONDS set, Escape is held after that many
# seconds instead, for a shorter look.
# Usage: scripts/run-headless.sh path/to/dedoz   (run from the repository root)
# Returns the demo's exit status.
set -u
dedoz="${1:?usage: run-headless.sh path/to/dedoz}"
seconds="${DEDOZ_HEADLESS_SECONDS:-}"
here="$(cd "$(dirname "$0")" && pwd)"

if [ -z "$seconds" ]; then
  echo "No display found: playing the demo inside a virtual X server (Xvfb) until it ends; nothing will be visible."
  echo "To watch the show, 'make video' renders it into build/dedoz.mp4."
  exec "$here/../tests/xvfb-run.sh" "$dedoz"
fi
case "$seconds" in
  ''|*[!0-9]*) echo "run-headless.sh: DEDOZ_HEADLESS_SECONDS must be a whole number of seconds" >&2; exit 2 ;;
esac

echo "No display found: playing the demo inside a virtual X server (Xvfb) for ${seconds} s, then holding Escape; nothing will be visible."
echo "To watch the show, 'make video' renders it into build/dedoz.mp4."
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
