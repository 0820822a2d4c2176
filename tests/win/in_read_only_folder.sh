#!/usr/bin/env bash
# Runs a GoogleTest program of the Windows build with a folder that nobody, root included, may
# change: horavo.exe with its list and settings inside, the folder and its files immutable
# (chattr +i) for the run. Its path reaches the program as TEMPIVO_READ_ONLY_FOLDER.
# Usage: in_read_only_folder.sh BUILD_DIR TEST_PROGRAM.exe HORAVO.exe
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
program=$2
horavo=$3

folder=$(mktemp -d "$build/read-only-XXXXXX")
trap 'chattr -i "$folder" "$folder"/* 2>/dev/null || true; rm -rf "$folder"' EXIT
cp "$horavo" "$folder/horavo.exe"
printf '1\tA\t127.0.0.1:9\r\n' >"$folder/server.data"
printf '[SETTING]\r\nINTERVAL=60\r\n' >"$folder/horavo.ini"
# Root may write any file whatever its mode: only the immutable flag stops it, as the folder under
# Program Files stops a program without administrator rights.
chattr +i "$folder"/* "$folder"

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }
TEMPIVO_READ_ONLY_FOLDER=$(windows_path "$folder") "$root/scripts/wine-run.sh" "$build" "$program"
