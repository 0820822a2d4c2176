#!/usr/bin/env bash
# Makes the screenshots under docs/ from the current builds: the main window with a few Japanese
# time servers after one synchronisation (with a loopback server standing in for an office one),
# the entry dialog, the delete question, the about box, the tray icon's menu, the notice of a
# refused clock (a loopback server a minute off), the main window again at 144 DPI, and the window
# grown larger with a failed row (an address without a usable port) above a set one.
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
near_port=10125
"$root/build/native/tools/sntp_responder" --port "$near_port" --offset 60 --lifetime 300 >/dev/null 2>&1 &
near=$!
refused=$(mktemp -d)
trap 'kill $responder $near 2>/dev/null || true; rm -rf "$folder" "$refused"' EXIT

{ printf '1\t社内 NTP サーバ\t127.0.0.1:%s\n' "$port"; cat "$root/dist/server.data.txt"; } |
    iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$folder/server.data"

for scene in sync:main-window entry:entry-dialog delete:delete-question about:about-box traymenu:tray-menu; do
    "$root/scripts/screenshot.sh" "$build" "$folder" "$root/docs/${scene#*:}.png" "${scene%%:*}"
done
"$root/scripts/screenshot.sh" "$build" "$folder" "$root/docs/main-window-144dpi.png" sync 144

printf '1\t社外 NTP サーバ\t127.0.0.1:%s\r\n' "$near_port" | iconv -f UTF-8 -t CP932 >"$refused/server.data"
"$root/scripts/screenshot.sh" "$build" "$refused" "$root/docs/rights-notice.png" rights

resized=$(mktemp -d)
trap 'kill $responder $near 2>/dev/null || true; rm -rf "$folder" "$refused" "$resized"' EXIT
printf '1\t番号の誤ったサーバ\tlocalhost:12345678\r\n1\t社内 NTP サーバ\t127.0.0.1:%s\r\n' "$port" |
    iconv -f UTF-8 -t CP932 >"$resized/server.data"
"$root/scripts/screenshot.sh" "$build" "$resized" "$root/docs/main-window-resized.png" resized
