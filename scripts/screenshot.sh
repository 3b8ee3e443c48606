#!/usr/bin/env bash
# Starts the editor on a virtual display with a window manager, makes the file writable,
# types a few digits, saves, and takes a screenshot. Usage: scripts/screenshot.sh FILE OUT.png
# Needs xvfb openbox xdotool x11-utils imagemagick (not installed by setup.sh: only for this).
set -euo pipefail
file=$1 out=$2
bin=${HEXCAVATOR:-./build/app/hexcavator}
Xvfb :99 -screen 0 1024x700x24 -nolisten tcp & XPID=$!
trap 'kill $APP $WMPID $XPID 2>/dev/null || true' EXIT
export DISPLAY=:99
until xdpyinfo >/dev/null 2>&1; do sleep 0.05; done
openbox & WMPID=$!
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; do sleep 0.05; done
"$bin" "$file" & APP=$!
name=$(basename "$file")
WID=$(xdotool search --sync --onlyvisible --name "$name" | head -1)
xdotool windowactivate --sync "$WID"
xdotool windowsize --sync "$WID" 960 560
xdotool key --clearmodifiers ctrl+shift+r
xdotool type --delay 60 'a5f0'
xdotool key --clearmodifiers ctrl+s
for _ in $(seq 100); do xdotool getwindowname "$WID" | grep -q '\*' || break; sleep 0.05; done
for k in alt+v m s; do xdotool key $k; sleep 0.3; done   # 表示 > 文字コード > シフトJIS
for k in Down Down Down Down Right Right; do xdotool key $k; done
for _ in 1 2 3 4 5 6 7 8 9 10 11; do xdotool key shift+Right; done
sleep 0.5
import -window root "$out"
echo "title: $(xdotool getwindowname "$WID")"
