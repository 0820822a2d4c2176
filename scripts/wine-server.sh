#!/usr/bin/env bash
# Starts or stops the one wineserver that serves a whole test run of a build folder.
# Usage: wine-server.sh BUILD_DIR start|stop
set -eu
. "$(dirname "$0")/wine-env.sh"
tempivo_wine_env "$1"
case "$2" in
start)
    tempivo_wine_prefix
    # It stays for a minute after its last client; its output must not hold ctest's pipe open.
    # One that is running already (an earlier run's, still waiting) serves as well.
    tempivo_without_clock_rights "$TEMPIVO_WINESERVER" -p60 </dev/null >/dev/null 2>&1 || true
    # Wine's own background processes start with the first program and live as long as the server;
    # started here they hold /dev/null, not the pipe of whichever test happened to come first.
    tempivo_without_clock_rights "$TEMPIVO_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1
    ;;
stop)
    "$TEMPIVO_WINESERVER" -k 2>/dev/null || true
    ;;
esac
