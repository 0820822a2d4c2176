#!/usr/bin/env bash
# Photographs horavo.exe under Wine: the build's program runs from a folder (copied there, beside
# whatever server.data and horavo.ini the folder holds) in a Wine desktop of its own on a virtual
# X display, a scene is set (a dialog opened), and the picture is cut to the windows.
# Usage: screenshot.sh BUILD_DIR RUN_FOLDER OUTPUT.png [main|entry|delete|about|traymenu|sync|rights|resized] [DPI]
# Another DPI than 96 has a prefix of its own, as Wine reads LogPixels when the prefix starts.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
. "$here/xvfb-env.sh"
build=$(cd "$1" && pwd)
folder=$(cd "$2" && pwd)
output=$3
scene=${4:-main}
dpi=${5:-96}

tempivo_wine_env "$build" x11
if [ "$dpi" != 96 ]; then
    export WINEPREFIX="$WINEPREFIX-dpi$dpi"
    TEMPIVO_WINE_LOCK="$WINEPREFIX.lock"
fi
tempivo_wine_prefix
if [ "$dpi" != 96 ]; then
    "$TEMPIVO_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    "$TEMPIVO_WINESERVER" -w
fi
# The grown window needs a larger desktop.
if [ "$scene" = resized ]; then width=$((1100 * dpi / 96)); height=$((720 * dpi / 96)); else
    width=$((900 * dpi / 96)); height=$((600 * dpi / 96)); fi
tempivo_start_xvfb
trap '"$TEMPIVO_WINESERVER" -k 2>/dev/null || true; tempivo_stop_xvfb' EXIT

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }
cp "$build/horavo.exe" "$folder/"
rm -f "$folder/scene-ready"
tempivo_without_clock_rights "$TEMPIVO_WINE" explorer /desktop=Tempivo,${width}x$height \
    "$(windows_path "$build/tools/screenshot_scene.exe")" "$(windows_path "$folder")" "$scene" >/dev/null 2>&1 &
for _ in $(seq 300); do [ -e "$folder/scene-ready" ] && break; sleep 0.1; done
[ -e "$folder/scene-ready" ] || { echo "screenshot: the scene $scene did not come up" >&2; exit 1; }
rm -f "$folder/scene-ready"
# The desktop's plain colour around the windows is cut away; Wine's taskbar, with the program's
# icon in its notification area, stays at the bottom.
import -window root -crop "${width}x$height+0+0" +repage -trim +repage "$output"
echo "$output: $(identify -format '%wx%h' "$output")"
