#!/usr/bin/env bash
# Runs one command inside a private Xvfb server (1920x1080, 24-bit, Mesa llvmpipe).
# Xvfb picks a free display itself (-displayfd), so parallel tests never collide.
# The command's exit status is returned; the server is always stopped.
set -u
if [ $# -eq 0 ]; then
  echo "usage: xvfb-run.sh command [args...]" >&2
  exit 2
fi
screen="${DEDOZ_XVFB_SCREEN:-1920x1080x24}"
fifo_dir=$(mktemp -d)
xvfb_pid=
# Stops the server: politely first, then for certain, so that no server outlives
# the command (a server left running would also keep the caller's pipes open).
stop_xvfb() {
  [ -n "$xvfb_pid" ] || return 0
  kill "$xvfb_pid" 2>/dev/null
  for _ in $(seq 1 50); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=
}
trap 'stop_xvfb; rm -rf "$fifo_dir"' EXIT
trap 'exit 143' TERM INT
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fifo_dir/display" \
  >/dev/null 2>"$fifo_dir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$fifo_dir/display" ] && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "xvfb-run.sh: Xvfb failed to start:" >&2
    cat "$fifo_dir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.05
done
if [ ! -s "$fifo_dir/display" ]; then
  echo "xvfb-run.sh: Xvfb did not report a display" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$fifo_dir/display")"
"$@"
status=$?
stop_xvfb
exit $status
