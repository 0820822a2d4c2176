#!/usr/bin/env bash
# Builds the download: a zip of the folder "Tempivo" with horavo.exe, horavo.chm, the starter
# server list and README.txt. The two texts are kept in UTF-8 here and shipped as a Japanese
# Windows reads them: Shift-JIS with CR LF line ends.
# Usage: build_package.sh HORAVO.EXE HORAVO.CHM WORK_DIR OUTPUT.zip VERSION
set -eu
sources=$(cd "$(dirname "$0")" && pwd)
exe=$1
chm=$2
work=$3
output=$4
version=$5
rm -rf "$work"
mkdir -p "$work/Tempivo"
cp "$exe" "$chm" "$work/Tempivo/"
for text in server.data README.txt; do
    source_file="$sources/$text"
    [ "$text" = server.data ] && source_file="$sources/server.data.txt"
    # README.txt names the version, which is CMake's project version.
    sed "s/@VERSION@/$version/" "$source_file" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$work/Tempivo/$text"
done
rm -f "$output"
# A fixed date for every entry, so the same build gives the same zip.
(cd "$work" && cmake -E tar cf "$output" --format=zip "--mtime=2026-12-01 00:00:00 UTC" Tempivo)
