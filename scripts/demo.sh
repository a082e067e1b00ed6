#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# demo.sh DIR: shows Voxmere at work on a virtual display of its own, and
# leaves in DIR what it did:
#   reading.wav         the program reading a line selected in xterm aloud
#                       (Ctrl+Backspace), as the audio server played it
#   options-window.png  the options window of a first start
#   tray-menu.png       the tray menu, opened with a right click on the icon
# The program is the built one (build/bin/voxmere, or $VOXMERE_PROGRAM), run
# from a copy in a temporary folder so that it starts with fresh settings.
# Needs: Xvfb, trayer, xterm, xdotool, x11-utils, imagemagick, pulseaudio,
# speech-dispatcher (the packages the integration tests use).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" != "--inside" ]; then
  [ $# -eq 1 ] || { echo "usage: demo.sh DIR" >&2; exit 2; }
  program=${VOXMERE_PROGRAM:-$root/build/bin/voxmere}
  [ -x "$program" ] || { echo "demo.sh: no program at $program (build it first)" >&2; exit 1; }
  mkdir -p "$1"
  dir=$(cd "$1" && pwd)
  "$root/tests/integration/with_services.sh" x11 speechd tray -- \
    "$root/scripts/demo.sh" --inside "$program" "$dir"
  echo "Demo files: $dir"
  ls -l "$dir"
  exit 0
fi

# Inside the virtual display, with the audio server and the tray host.
program=$2 dir=$3
work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

say() { echo "demo: $*"; }

# until_true SECONDS COMMAND...: polls every 50 ms.
until_true() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    if [ $SECONDS -ge $deadline ]; then
      echo "demo: timed out waiting for: $*" >&2
      return 1
    fi
    sleep 0.05
  done
}

# window_field ID FIELD: a field of xwininfo's description of a window.
window_field() {
  xwininfo -id "$1" -children -stats 2>/dev/null | sed -n "s/^ *$2: *//p" | head -n1
}

# tray_icon PID: the process's window that the tray host took in.
tray_icon() {
  local window
  for window in $(xdotool search --pid "$1" 2>/dev/null); do
    if [ "$(window_field "$window" "Map State")" = IsViewable ] &&
      ! window_field "$window" "Parent window id" | grep -q "the root window"; then
      echo "$window"
      return 0
    fi
  done
  return 1
}

# popup PID: the process's viewable override-redirect window (its menu).
popup() {
  local window
  for window in $(xdotool search --pid "$1" 2>/dev/null); do
    if [ "$(window_field "$window" "Map State")" = IsViewable ] &&
      [ "$(window_field "$window" "Override Redirect State")" = yes ] &&
      window_field "$window" "Parent window id" | grep -q "the root window"; then
      echo "$window"
      return 0
    fi
  done
  return 1
}

options_window() { xdotool search --onlyvisible --name '^Voxmere! Options$' | head -n1 | grep .; }

# The program, copied into a folder of its own: it keeps its settings there.
mkdir -p "$work/program"
cp "$program" "$work/program/voxmere"
export XDG_CONFIG_HOME=$work/config
"$work/program/voxmere" >"$work/voxmere.log" 2>&1 &
voxmere=$!
pids+=("$voxmere")

welcome_window() { xdotool search --onlyvisible --name '^Welcome to Voxmere!$' | head -n1 | grep .; }

say "waiting for the welcome window of a first start"
until_true 60 welcome_window || { cat "$work/voxmere.log" >&2; exit 1; }
sleep 1  # let it paint
import -window "$(welcome_window)" "$dir/welcome-window.png"
say "welcome window: $dir/welcome-window.png"
xdotool windowfocus --sync "$(welcome_window)" && xdotool key Escape

say "waiting for the options window that follows it"
until_true 60 options_window || { cat "$work/voxmere.log" >&2; exit 1; }
until_true 30 tray_icon "$voxmere"
sleep 1  # let it paint
import -window "$(options_window)" "$dir/options-window.png"
say "options window: $dir/options-window.png"

# A line in xterm, selected with three clicks, read with Ctrl+Backspace.
line="Voxmere reads the text you select in any program aloud, at the press of a hot key."
xterm -T voxmere-demo -geometry 100x3+0+0 \
  -xrm 'XTerm*VT100.translations: #override Ctrl<Key>c: copy-selection(CLIPBOARD)' \
  -e sh -c 'stty -echo; printf "%s" "$0"; exec sleep 600' "$line" &
pids+=($!)
until_true 20 xdotool search --onlyvisible --name '^voxmere-demo$'
xterm_window=$(xdotool search --onlyvisible --name '^voxmere-demo$' | head -n1)
sleep 0.5
xdotool mousemove --window "$xterm_window" 20 8 click --repeat 3 --delay 50 1
xdotool windowfocus --sync "$xterm_window"
parecord -d "$VOXMERE_TEST_SINK.monitor" --file-format=wav "$dir/reading.wav" &
recorder=$!
pids+=("$recorder")
sleep 0.5
say "reading the selected line aloud"
xdotool key ctrl+BackSpace
sleep 8
kill -INT "$recorder"
wait "$recorder" 2>/dev/null || true
say "recording: $dir/reading.wav"

# Esc hides the options window into the tray (Cancel); then the menu.
xdotool windowfocus --sync "$(options_window)" && xdotool key Escape
icon=$(tray_icon "$voxmere")
eval "$(xdotool getwindowgeometry --shell "$icon")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
until_true 20 popup "$voxmere"
menu=$(popup "$voxmere")
xdotool mousemove 300 900
sleep 1  # let it paint
eval "$(xdotool getwindowgeometry --shell "$menu")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$dir/tray-menu.png"
xdotool key Escape
say "tray menu: $dir/tray-menu.png"
