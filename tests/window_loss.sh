#!/bin/sh
# The game on a real X display loses its connection (ACTION windowkill: as
# xkill, a dying server or a logout would) or has its window destroyed by
# another program (windowclose): it must end with exit code 1 and one line
# that says the display was lost, never with a crash (139) or an abort (134).
# ACTION fullscreen starts it in full screen, where its window must cover the
# whole display (no window manager resizes it here), then kills it.
# With CHURN (tests/window_churn.c), another program's windows come and go on
# the display while the game starts, as other tests' windows do.
# Usage: window_loss.sh GAME ACTION [CHURN]. Skipped (exit 77) without a
# display or xdotool.
abspath() { [ -n "$1" ] && echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
game=$(abspath "$1")
action=${2:-windowkill}
[ -n "$DISPLAY" ] || { echo "skipped: no display"; exit 77; }
command -v xdotool >/dev/null 2>&1 || { echo "skipped: xdotool is not installed"; exit 77; }
churn=$(abspath "$3")
dir=$(mktemp -d)
churn_pid=""
trap '[ -z "$churn_pid" ] || kill "$churn_pid" 2>/dev/null; rm -rf "$dir"' EXIT
cd "$dir" || exit 1
# Settings that fix the window mode (windowed, or full screen), so no
# question waits for an answer.
if [ "$action" = fullscreen ]; then
  printf '\166\153\157\060\061\143\146\151\306\163\164\171\132\133\134\143\132\132\132\007' >vko01.cfg
else
  printf '\166\153\157\060\061\143\146\151\306\163\164\071\132\133\134\043\132\132\132\007' >vko01.cfg
fi
# Title music (a second of silence), so the sound device mixes and the pump
# thread refills while the display goes.
mkdir vkobgm
for n in 01 13 14; do
  { printf 'RIFF\150\254\0\0WAVEfmt \20\0\0\0\1\0\1\0\042\126\0\0\104\254\0\0\2\0\20\0'
    printf 'data\104\254\0\0'; head -c 44100 /dev/zero; } >vkobgm/vko01_$n.wav
done
# find_window PID: prints the window of that game (not another program's on
# the same display) once it is shown, within 20 seconds. A walk of the
# display's windows dies with BadWindow when another program's window goes
# during it, so a walk that finds nothing is made again, until the game ends.
find_window() {
  deadline=$(($(date +%s) + 20))
  while [ "$(date +%s)" -lt "$deadline" ] && kill -0 "$1" 2>/dev/null; do
    found=$(xdotool search --onlyvisible --all --pid "$1" --classname '^vko01$' 2>/dev/null | head -n 1)
    [ -z "$found" ] || { echo "$found"; return 0; }
    sleep 0.05
  done
  return 1
}
run() {  # run ACTION: starts the game, applies the xdotool ACTION to its window
  SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-disk} SDL_DISKAUDIOFILE=/dev/null "$game" >out.txt 2>&1 &
  pid=$!
  window=$(find_window "$pid")
  if [ -z "$window" ]; then
    echo "$1: the game window never appeared"; kill "$pid" 2>/dev/null; cat out.txt; return 1
  fi
  if [ "$1" = fullscreen ]; then
    size=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: *//p')
    display=$(xdotool getdisplaygeometry | tr ' ' x)
    if [ "$size" != "$display" ]; then
      echo "fullscreen: the window is $size on a $display display"; kill "$pid"; return 1
    fi
    set -- windowkill
  fi
  xdotool "$1" "$window"
  wait "$pid"
  status=$?
  if [ "$status" != 1 ]; then echo "$1: exit code $status, expected 1"; cat out.txt; return 1; fi
  line=$(grep '^vko01: the display was lost' out.txt)
  [ -n "$line" ] || { echo "$1: no line about the lost display"; cat out.txt; return 1; }
  echo "$1: exit 1, \"$line\""
}
# The churn stands before the game starts and goes on for one and a half
# seconds, while the game starts and its window is looked for.
if [ -n "$churn" ]; then churn_pid=$("$churn" 1.5) || exit 1; fi
run "$action"
