#!/usr/bin/env bash
# Makes the screenshots under docs/ from the current builds: the main window with a few Japanese
# time servers after one synchronisation (with a loopback server standing in for an office one),
# the entry dialog, the delete question, the about box and the tray icon's menu.
# Usage: docs_screenshots.sh   (after make check)
# The 32-bit build is photographed where 32-bit programs run, else the 64-bit one.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
preset=$(bash "$root/scripts/runnable-preset.sh")
build=$root/build/$preset
echo "docs_screenshots: the $preset build, $(sed s/win// "$build/wine-arch")-bit"
folder=$(mktemp -d)
port=10124
"$root/build/native/tools/sntp_responder" --port "$port" --lifetime 300 >/dev/null 2>&1 &
responder=$!
trap 'kill $responder 2>/dev/null || true; rm -rf "$folder"' EXIT

{ printf '1\t社内 NTP サーバ\t127.0.0.1:%s\n' "$port"; cat "$root/dist/server.data.txt"; } |
    iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$folder/server.data"

for scene in sync:main-window entry:entry-dialog delete:delete-question about:about-box traymenu:tray-menu; do
    "$root/scripts/screenshot.sh" "$build" "$folder" "$root/docs/${scene#*:}.png" "${scene%%:*}"
done
