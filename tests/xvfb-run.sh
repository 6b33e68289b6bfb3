#!/usr/bin/env bash
# Runs one command inside a private Xvfb server (1920x1080, 24-bit, Mesa llvmpipe).
# Xvfb picks a free display itself (-displayfd), so parallel tests never collide.
# The command's exit status is returned. Nothing started here outlives the script:
# - the server gets SIGKILL from the kernel when the script dies, even by SIGKILL
#   (parent-death signal through setpriv);
# - TERM, INT and HUP sent to the script are passed on to the command;
# - the command dies with the script too, and when it ends, what is left of its
#   process group is killed; then the server is stopped (TERM, then KILL after 5 s).
set -u
if [ $# -eq 0 ]; then
  echo "usage: xvfb-run.sh command [args...]" >&2
  exit 2
fi
screen="${DEDOZ_XVFB_SCREEN:-1920x1080x24}"
fifo_dir=$(mktemp -d)
xvfb_pid=
command_pid=

# Stops one process started here: politely first, then for certain.
stop() {
  local pid=$1
  kill "$pid" 2>/dev/null
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
cleanup() {
  if [ -n "$command_pid" ]; then
    kill -0 "$command_pid" 2>/dev/null && stop "$command_pid"
    kill -9 -- "-$command_pid" 2>/dev/null  # children the command left behind
  fi
  [ -n "$xvfb_pid" ] && stop "$xvfb_pid"
  rm -rf "$fifo_dir"
}
trap cleanup EXIT
forward() {
  if [ -n "$command_pid" ]; then
    kill "-$1" "$command_pid" 2>/dev/null
  else
    exit $((128 + $2))
  fi
}
trap 'forward TERM 15' TERM
trap 'forward INT 2' INT
trap 'forward HUP 1' HUP

# util-linux: setpriv ties a child's life to this script's, setsid gives the
# command a process group of its own, which can then be ended whole.
deathsig=()
own_group=()
command -v setpriv >/dev/null 2>&1 && deathsig=(setpriv --pdeathsig KILL)
command -v setsid >/dev/null 2>&1 && own_group=(setsid)
"${deathsig[@]}" Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset \
  3>"$fifo_dir/display" >/dev/null 2>"$fifo_dir/xvfb.log" </dev/null &
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

# In the background so that the traps above run while it is under way; its
# standard input stays the script's.
"${deathsig[@]}" "${own_group[@]}" "$@" <&0 &
command_pid=$!
# A trap interrupts wait; go on waiting until the command has really ended, then
# read its status (bash keeps it).
while kill -0 "$command_pid" 2>/dev/null; do
  wait "$command_pid" 2>/dev/null
done
wait "$command_pid" 2>/dev/null
exit $?
