#!/usr/bin/env bash
# Photographs horavo.exe under Wine: it runs from a folder in a Wine desktop of its own on a virtual
# X display, and the picture is cut to its windows.
# Usage: screenshot.sh BUILD_DIR RUN_FOLDER OUTPUT.png [SECONDS_TO_WAIT]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
. "$here/xvfb-env.sh"
build=$(cd "$1" && pwd)
folder=$(cd "$2" && pwd)
output=$3
wait_seconds=${4:-6}

tempivo_wine_env "$build" x11
tempivo_wine_prefix
tempivo_start_xvfb
trap 'wineserver -k 2>/dev/null || true; tempivo_stop_xvfb' EXIT

# The desktop's plain colour around the windows is cut away afterwards.
(cd "$folder" && tempivo_without_clock_rights wine explorer /desktop=Tempivo,760x520 horavo.exe >/dev/null 2>&1 &)
sleep "$wait_seconds"
import -window root -crop 760x520+0+0 +repage -trim +repage "$output"
echo "$output: $(identify -format '%wx%h' "$output")"
