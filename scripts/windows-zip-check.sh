#!/usr/bin/env bash
# Checks the zip for Windows users: it holds everything the program loads, and unpacked into
# a folder of its own the program starts under Wine with nothing but the zip's files (no Qt
# or MinGW folders on the path, no plug-in path), opens a file with a Japanese name and keeps
# running. Called by scripts/windows.sh package, with the Wine prefix it set up.
set -euo pipefail
zip=$1
scratch=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
unzip -q "$zip" -d "$scratch"
top=$(find "$scratch" -maxdepth 2 -name hexcavator.exe -printf '%h\n' | head -1)
[ -n "$top" ] || { echo "zip: no hexcavator.exe" >&2; exit 1; }
for f in hexcavator.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Network.dll Qt6PrintSupport.dll \
         libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll qt.conf platforms/qwindows.dll \
         translations/qtbase_ja.qm README.md; do
  [ -f "$top/$f" ] || { echo "zip: $f missing" >&2; exit 1; }
done

grep -q longPathAware "$top/hexcavator.exe" || { echo "zip: hexcavator.exe carries no manifest" >&2; exit 1; }

# A Shift-JIS file with a Japanese name, beside the program.
printf '\x82\xa0\x82\xa2\x82\xa4 Hexcavator\r\n' > "$top/日本語のファイル.txt"
unset WINEPATH QT_PLUGIN_PATH
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
win() { echo "Z:${1//\//\\}"; }
(cd "$top" && exec wine hexcavator.exe "$(win "$top/日本語のファイル.txt")") >"$scratch/out.txt" 2>&1 &
pid=$!
for _ in $(seq 1 20); do
  sleep 1
  kill -0 $pid 2>/dev/null || break
done
if ! kill -0 $pid 2>/dev/null; then
  echo "zip: hexcavator.exe ended on its own:" >&2
  cat "$scratch/out.txt" >&2
  exit 1
fi
echo "zip: $(basename "$zip") holds what it needs and runs from its own folder"
