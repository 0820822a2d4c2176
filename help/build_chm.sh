#!/usr/bin/env bash
# Compiles the help into horavo.chm: the UTF-8 sources become Shift_JIS (what the help viewer of a
# Japanese system reads) in a work folder, and chmcmd compiles them there.
# Usage: build_chm.sh WORK_DIR OUTPUT.chm
set -eu
sources=$(cd "$(dirname "$0")" && pwd)
work=$1
output=$2
rm -rf "$work"
mkdir -p "$work"
for file in "$sources"/*.html "$sources"/*.hhc "$sources"/*.hhp "$sources"/*.css; do
    iconv -f UTF-8 -t CP932 "$file" >"$work/$(basename "$file")"
done
(cd "$work" && chmcmd --no-html-scan --verbosity 0 horavo.hhp >chmcmd.log 2>&1) || {
    cat "$work/chmcmd.log" >&2
    exit 1
}
cp "$work/horavo.chm" "$output"
