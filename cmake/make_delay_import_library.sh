#!/usr/bin/env bash
# Makes a delay-load import library for a Windows system DLL from MinGW's ordinary import library:
# every export it names, loaded at the first call instead of at the program's start.
# Usage: make_delay_import_library.sh MINGW_TRIPLET DLL_NAME OUTPUT.a   (DLL_NAME like ws2_32)
set -eu
triplet=$1
dll=$2
output=$3
def="$output.def"
# i686 names carry a leading underscore and their stdcall suffix; x86_64 names neither.
prefix=__imp_
[ "$triplet" = i686-w64-mingw32 ] && prefix=__imp__
{
    echo "LIBRARY $dll.dll"
    echo "EXPORTS"
    "$triplet-nm" "/usr/$triplet/lib/lib$dll.a" | awk -v p="$prefix" '$2 == "I" && index($3, p) == 1 { print substr($3, length(p) + 1) }' | sort -u
} >"$def"
"$triplet-dlltool" -k --input-def "$def" --output-delaylib "$output"
