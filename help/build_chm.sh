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
# chmcmd stamps the file with the moment it ran, in the header and in the #SYSTEM file's time stamp
# entry (code 10): zeroed, so that the same help gives the same bytes. Nothing reads them.
python3 - "$work/horavo.chm" <<'PATCH'
import sys
chm = bytearray(open(sys.argv[1], "rb").read())
chm[0x10:0x14] = bytes(4)
system = chm.find(b"Compiled by CHMCmd")
stamp = chm.find(b"\x0a\x00\x04\x00", system) if system >= 0 else -1
if stamp >= 0:
    chm[stamp + 4:stamp + 8] = bytes(4)
open(sys.argv[1], "wb").write(chm)
PATCH
cp "$work/horavo.chm" "$output"
