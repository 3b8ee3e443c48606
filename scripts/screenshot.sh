#!/usr/bin/env bash
# Drives the real program on a virtual display with a window manager and takes the pictures
# in docs/, each in the default window of a fresh start (no settings file):
#   main-window.png        Shift-JIS text, bytes typed and not yet saved (the changed colour)
#   byte-values-panel.png  the byte values panel beside the grid
#   replace-message.png    the replace dialog's "not found" message above it
#   open-dialog.png        the open dialog
# Usage: scripts/screenshot.sh [OUTDIR]   (default docs)
# Needs xvfb openbox xdotool x11-utils imagemagick (not installed by setup.sh: only for this).
set -euo pipefail
out=${1:-docs}
bin=${HEXCAVATOR:-./build/app/hexcavator}
work=$(mktemp -d) keep=$(mktemp -d)
# A build folder's program keeps its settings beside itself: kept aside, put back at the end.
ini=$(dirname "$bin")/Hexcavat.ini
[ -f "$ini" ] && mv "$ini" "$keep/Hexcavat.ini"
Xvfb :99 -screen 0 1600x900x24 -nolisten tcp & XPID=$!
APP=
cleanup() {
  [ -n "$APP" ] && kill "$APP" 2>/dev/null
  kill $WMPID $XPID 2>/dev/null || true
  rm -f "$ini"
  [ -f "$keep/Hexcavat.ini" ] && mv "$keep/Hexcavat.ini" "$ini"
  rm -rf "$work" "$keep"
}
trap cleanup EXIT
export DISPLAY=:99 HOME=$work/home
mkdir -p "$HOME"
until xdpyinfo >/dev/null 2>&1; do sleep 0.05; done
openbox & WMPID=$!
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; do sleep 0.05; done
# openbox announces itself before it manages windows: one mapped in that moment stays
# unmapped for good (about one start in eight).
sleep 0.5

# A file of Shift-JIS text, then the bytes of a few numbers.
file=$work/sample.bin
{
  printf 'へくすかばっと。は16進数エディタです。ファイルをメモリに読み込まずに編集します。\r\n' | iconv -f UTF-8 -t CP932
  printf 'Hexcavator edits files of up to 2 GiB.\r\n'
  printf '\x80\x07\x42\x34\x34\x42\x07\x80\x00\x00\x80\x3f\xff\xff\xff\xff'
  head -c 512 /dev/urandom
} > "$file"
cp "$file" "$work/other.bin"
printf 'settings\n' > "$work/notes.txt"

start() {
  rm -f "$ini"
  "$bin" "$file" & APP=$!
  WID=$(xdotool search --sync --onlyvisible --name "$(basename "$file")" | head -1)
  xdotool windowactivate --sync "$WID"
  sleep 0.5
}
stop() {
  kill "$APP"; wait "$APP" 2>/dev/null || true; APP=
}
keys() { for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.25; done; }
# The screen around the windows is black: cut away.
shot() { sleep 0.7; import -window root "$out/$1"; mogrify -trim +repage "$out/$1"; echo "$out/$1"; }

# The main window: Shift-JIS column, a few bytes typed (not saved), a selection.
start
keys ctrl+shift+r alt+v m s
keys Down Down Down Down Down Right Right
xdotool type --delay 80 'a5f0'
keys Down Down
xdotool type --delay 80 '41'
for _ in 1 2 3 4 5 6; do xdotool key shift+Right; done
shot main-window.png
stop

# The byte values panel, the caret on the double whose text is the longest.
start
keys alt+v d
keys ctrl+Home Down Down Down Down Down Down Down
for _ in 1 2 3 4 5 6 7 8 9 10; do xdotool key Right; done
shot byte-values-panel.png
stop

# Replace with nothing left to find: the message stands above the dialog, which stays.
start
keys ctrl+shift+r ctrl+h
xdotool type --delay 80 'Hexcavatrix'
keys Tab
xdotool type --delay 80 'HEXCAVATOR'
keys alt+r
shot replace-message.png
stop

# The open dialog.
start
keys ctrl+o
shot open-dialog.png
stop
