#!/usr/bin/env bash
# make run: starts horavo.exe under Wine from a run folder of the build, on the X display.
# Usage: run.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
folder="$build/run"
mkdir -p "$folder"
cp "$build/horavo.exe" "$folder/"

if [ -z "${DISPLAY:-}" ]; then
    echo "run: no X display (DISPLAY is not set); horavo.exe is in $folder" >&2
    exit 1
fi
echo "run: horavo.exe in $folder on display $DISPLAY; its files stay there between runs"
cd "$folder"
set +e
TEMPIVO_WINE_DISPLAY=x11 "$here/wine-run.sh" "$build" "$folder/horavo.exe"
code=$?
echo "run: horavo.exe ended with exit code $code"
