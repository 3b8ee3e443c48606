#!/usr/bin/env bash
# The zip for Windows users, seen working: unpacked into a fresh Wine prefix (with Debian's
# IPA Gothic as its Japanese font), the program started on a virtual display with a Shift-JIS
# file whose name is Japanese, made writable, a byte typed and saved, a screenshot taken.
# Usage: scripts/windows-screenshot.sh ZIP OUT.png   (after scripts/windows.sh package)
set -euo pipefail
zip=$(realpath "$1") out=$(realpath -m "$2")
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
Xvfb :98 -screen 0 1024x700x24 -nolisten tcp & XPID=$!
trap 'wineserver -k 2>/dev/null || true; kill $WMPID $XPID 2>/dev/null || true; rm -rf "$work"' EXIT
export DISPLAY=:98
until xdpyinfo >/dev/null 2>&1; do sleep 0.05; done
wineboot -i >/dev/null 2>&1; wineserver -w
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
mkdir -p "$WINEPREFIX/drive_c/hexcavator" "$WINEPREFIX/drive_c/users/Public/データ"
unzip -q "$zip" -d "$WINEPREFIX/drive_c/hexcavator"
exe=$(find "$WINEPREFIX/drive_c/hexcavator" -name hexcavator.exe | head -1)
file="$WINEPREFIX/drive_c/users/Public/データ/日本語のファイル.txt"
printf 'Shift-JIS \x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd\x81\x41\x90\xa2\x8a\x45\x81\x42\r\n' > "$file"
printf '\x83\x6e\x83\x62\x83\x4e\x83\x58\x83\x47\x83\x66\x83\x42\x83\x5e\x81\x5b 0123456789\r\n' >> "$file"
openbox & WMPID=$!
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; do sleep 0.05; done
# openbox announces itself before it manages windows: one mapped in that moment stays
# unmapped for good (about one start in eight).
sleep 0.5
(cd "$(dirname "$exe")" && wine hexcavator.exe 'C:\users\Public\データ\日本語のファイル.txt') &
WID=$(xdotool search --sync --onlyvisible --name "日本語のファイル" | head -1)
sleep 2
xdotool windowactivate --sync "$WID"
xdotool windowsize --sync "$WID" 960 560
sleep 1
xdotool key --clearmodifiers ctrl+shift+r
sleep 0.3
xdotool type --delay 80 '41'
xdotool key --clearmodifiers ctrl+s
sleep 2
for k in alt+v m s; do xdotool key $k; sleep 0.5; done   # 表示 > 文字コード > シフトJIS
sleep 1
import -window root "$out"
echo "title: $(xdotool getwindowname "$WID")"
echo "first bytes on disk: $(head -c 4 "$file" | od -An -tx1)"
