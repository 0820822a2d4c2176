#!/usr/bin/env bash
# Makes the screenshots under docs/ from the current Windows build: the main window with a few
# Japanese time servers, the entry dialog, the delete question and the about box.
# Usage: docs_screenshots.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/windows}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT

iconv -f UTF-8 -t CP932 >"$folder/server.data" <<'LIST'
1	情報通信研究機構 (NICT)	ntp.nict.jp
1	Google Public NTP	time.google.com
0	Cloudflare	time.cloudflare.com
0	NTPプール (日本)	jp.pool.ntp.org
0	マイクロソフト	time.windows.com
LIST
sed -i 's/$/\r/' "$folder/server.data"

for scene in main:main-window entry:entry-dialog delete:delete-question about:about-box; do
    "$root/scripts/screenshot.sh" "$build" "$folder" "$root/docs/${scene#*:}.png" "${scene%%:*}"
done
