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
# The same build gives the same zip: the files in a fixed order (a folder's own order differs from
# one file system to another), a fixed date for each, and none of the access and change times a
# tar-style writer records.
python3 - "$work" "$output" <<'ZIP'
import os, sys, zipfile
work, output = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(output, "w", zipfile.ZIP_DEFLATED) as archive:
    for name in sorted(os.listdir(os.path.join(work, "Tempivo"))):
        entry = zipfile.ZipInfo("Tempivo/" + name, date_time=(2026, 12, 1, 0, 0, 0))
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.external_attr = 0o644 << 16
        with open(os.path.join(work, "Tempivo", name), "rb") as source:
            archive.writestr(entry, source.read())
ZIP
