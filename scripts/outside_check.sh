#!/usr/bin/env bash
# outside_check.sh PROGRAM PICTURE X,Y - run on a display (under xvfb-run).
# Starts PROGRAM, waits for its main window (found by the program's process
# and its title), saves a picture of the whole screen into PICTURE (skipped
# when it is -), then clicks the main window's Close button at X,Y (pixels
# in the window) as a user would; the program must end by itself.
set -u
program=$1 picture=$2 close_at=$3
"$program" & pid=$!
window=
for _ in $(seq 1 300); do
  window=$(xdotool search --all --onlyvisible --pid $pid --name "^Vistrel [0-9]" 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "outside: the main window of $program does not appear"; kill $pid; wait $pid; exit 1
fi
echo "outside: main window of $program shown: $(xdotool getwindowname "$window")"
sleep 1  # its first paint
[ "$picture" = - ] || import -window root "$picture"
xdotool mousemove --window "$window" "${close_at%,*}" "${close_at#*,}" click 1
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then
  echo "outside: Close does not end $program"; kill $pid; wait $pid; exit 1
fi
wait $pid || { echo "outside: $program ended with status $?"; exit 1; }
echo "outside: Close ended $program"
