#!/usr/bin/env bash
# Runs a test of the time service in a Wine prefix of its own whose wine server stays up with no
# time limit, as a Windows machine stays on whether or not anyone uses it. Under Wine a service is a
# "system process": when the last ordinary program of a prefix has ended, the server shuts the
# prefix down (the service included, with no stop notice) unless it was started persistent. Every
# other prefix of the tests has a wine server that ends a minute after its last program.
# A service left installed by a test stays in this prefix only, never in the shared one.
# Usage: in_service_prefix.sh BUILD_DIR PROGRAM.exe|SCRIPT [ARGUMENT...]
# A script finds the Wine commands in TEMPIVO_WINE and TEMPIVO_WINESERVER.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/wine-env.sh"
build=$(cd "$1" && pwd)
shift

tempivo_wine_env "$build" null
export WINEPREFIX="$build/wineprefix-service"
TEMPIVO_WINE_LOCK="$WINEPREFIX.lock"
tempivo_wine_prefix
export TEMPIVO_WINE TEMPIVO_WINESERVER
trap '"$TEMPIVO_WINESERVER" -k 2>/dev/null || true' EXIT
"$TEMPIVO_WINESERVER" -k 2>/dev/null || true
tempivo_without_clock_rights "$TEMPIVO_WINESERVER" -p </dev/null >/dev/null 2>&1
case "$1" in
*.exe) tempivo_without_clock_rights "$TEMPIVO_WINE" "$@" ;;
*) tempivo_without_clock_rights "$@" ;;
esac
