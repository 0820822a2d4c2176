#!/usr/bin/env bash
# Writes a text kept in UTF-8 here as a Japanese Windows reads it: Shift-JIS with CR LF line ends.
# Usage: windows_text.sh INPUT OUTPUT
set -eu
mkdir -p "$(dirname "$2")"
iconv -f UTF-8 -t CP932 "$1" | sed 's/$/\r/' >"$2"
