#!/usr/bin/env bash
# make run: starts horavo.exe under Wine from a run folder of the build, beside a loopback time
# server. With an X display the window opens there; without one it runs on a virtual display,
# synchronises once with the loopback entry, prints the log rows, saves a screenshot, ends the
# program with the exit command and says where the files are.
# Usage: run.sh BUILD_DIR NATIVE_BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
folder="$build/run"
port=10123
loopback="ループバック テスト サーバ"

echo "run: horavo.exe of the build $(basename "$build"): $(sed "s/win//" "$build/wine-arch")-bit, under $(sed "s/win//" "$build/wine-arch")-bit Wine"
mkdir -p "$folder"
cp "$build/horavo.exe" "$build/horavo.chm" "$folder/"
if [ ! -e "$folder/server.data" ]; then
    # The starter list of the download, after a ticked entry for the loopback server.
    { printf '1\t%s\t127.0.0.1:%s\n' "$loopback" "$port"; cat "$root/dist/server.data.txt"; } |
        iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$folder/server.data"
fi

"$native/tools/sntp_responder" --port "$port" --lifetime 3600 >"$folder/responder.log" 2>&1 &
responder=$!
cleanup() { kill "$responder" 2>/dev/null || true; }
trap cleanup EXIT
sleep 0.2
kill -0 "$responder" 2>/dev/null || echo "run: the loopback server could not take port $port (see $folder/responder.log)" >&2

if [ -n "${DISPLAY:-}" ]; then
    echo "run: horavo.exe from $folder on display $DISPLAY, loopback time server on 127.0.0.1:$port"
    cd "$folder"
    set +e
    TEMPIVO_WINE_DISPLAY=x11 "$here/wine-run.sh" "$build" "$folder/horavo.exe"
    echo "run: horavo.exe ended with exit code $?; its files are in $folder"
    exit 0
fi

. "$here/wine-env.sh"
. "$here/xvfb-env.sh"
echo "run: no X display; horavo.exe runs on a virtual one, synchronises once with $loopback"
tempivo_wine_env "$build" x11
tempivo_wine_prefix
tempivo_start_xvfb
trap 'cleanup; "$TEMPIVO_WINESERVER" -k 2>/dev/null || true; tempivo_stop_xvfb' EXIT
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }
rm -f "$folder/scene-ready" "$folder/scene-done" "$folder/exit-code.txt" "$folder/log-rows.txt"
tempivo_without_clock_rights "$TEMPIVO_WINE" explorer /desktop=Tempivo,760x520 \
    "$(windows_path "$build/tools/screenshot_scene.exe")" "$(windows_path "$folder")" sync >/dev/null 2>&1 &
for _ in $(seq 300); do [ -e "$folder/scene-ready" ] && break; sleep 0.1; done
if [ -e "$folder/scene-ready" ]; then
    import -window root -crop 760x520+0+0 +repage -trim +repage "$folder/screenshot.png"
fi
touch "$folder/scene-done"
for _ in $(seq 200); do [ -s "$folder/exit-code.txt" ] && break; sleep 0.1; done
echo "run: log rows:"
if [ -s "$folder/log-rows.txt" ]; then
    iconv -f CP932 -t UTF-8 "$folder/log-rows.txt" | tr -d '\r' | sed 's/^/  /'
else
    echo "  (none)"
fi
echo "run: horavo.exe ended with exit code $(cat "$folder/exit-code.txt" 2>/dev/null || echo '?')"
echo "run: files in $folder: horavo.ini, server.data, screenshot.png, log-rows.txt"
rm -f "$folder/scene-ready" "$folder/scene-done"
