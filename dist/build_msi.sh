#!/usr/bin/env bash
# Builds the Windows Installer package from the download's folder, the same bytes from the same
# files: wixl and msibuild run at a fixed moment (the package's dates), with a product code and a
# package code made from the version and architecture instead of at random.
# Usage: build_msi.sh PACKAGE_FOLDER OUTPUT.msi VERSION ARCH(win32|win64)
set -eu
sources=$(cd "$(dirname "$0")" && pwd)
folder=$1
output=$2
version=$3
arch=$4
# A name-based UUID (RFC 4122, SHA-1) in Tempivo's own namespace: one per version and architecture.
uuid() {
    python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID("5b4c5f2e-8f0e-4a52-9d3c-6d1f0b7e2a44"), sys.argv[1])).upper())' "$1"
}
if [ "$arch" = win64 ]; then
    wixlArch=x64 programFiles=ProgramFiles64Folder template="x64;1033"
else
    wixlArch=x86 programFiles=ProgramFilesFolder template="Intel;1033"
fi
moment="2026-12-01 00:00:00"
rm -f "$output"
# The cabinet keeps each file's modification time: the fixed moment, not the build's.
touch -d "$moment UTC" "$folder"/*
(cd "$folder" && faketime "$moment" wixl -a "$wixlArch" -D Version="$version" -D ProgramFiles="$programFiles" \
    -D ProductCode="$(uuid "product $version $arch")" -o "$output" "$sources/tempivo.wxs")
faketime "$moment" msibuild "$output" -s "Tempivo $version" Tempivo "$template" "{$(uuid "package $version $arch")}"
