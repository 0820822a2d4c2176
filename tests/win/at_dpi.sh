#!/usr/bin/env bash
# Runs a GoogleTest program of the Windows build in a Wine prefix of its own whose screen is set to
# the given DPI: Wine scales fonts and dialogs from the user's LogPixels, read when the prefix's
# first program starts, so the setting needs its own prefix (and its own wine server).
# Usage: at_dpi.sh BUILD_DIR DPI TEST_PROGRAM.exe [ARGUMENT...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/wine-env.sh"
build=$(cd "$1" && pwd)
dpi=$2
shift 2

tempivo_wine_env "$build" null
export WINEPREFIX="$build/wineprefix-dpi$dpi"
TEMPIVO_WINE_LOCK="$WINEPREFIX.lock"
tempivo_wine_prefix
trap '"$TEMPIVO_WINESERVER" -k 2>/dev/null || true' EXIT
"$TEMPIVO_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$TEMPIVO_WINESERVER" -w
tempivo_without_clock_rights "$TEMPIVO_WINE" "$@"
