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
# The server that made the prefix, or an earlier test's, may still be ending: asked again until ours
# is the persistent one, and said if it never is.
persistent=false
for _ in 1 2 3; do
    "$TEMPIVO_WINESERVER" -k 2>/dev/null || true
    "$TEMPIVO_WINESERVER" -w 2>/dev/null || true
    if tempivo_without_clock_rights "$TEMPIVO_WINESERVER" -p </dev/null >/dev/null 2>&1; then
        persistent=true
        break
    fi
    sleep 1
done
$persistent || echo "in_service_prefix: no persistent wine server for $WINEPREFIX; going on with an ordinary one" >&2
case "$1" in
*.exe) tempivo_without_clock_rights "$TEMPIVO_WINE" "$@" ;;
*) tempivo_without_clock_rights "$@" ;;
esac
