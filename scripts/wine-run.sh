#!/usr/bin/env bash
# Runs a Windows program under Wine as every test of this project does.
# Usage: wine-run.sh BUILD_DIR PROGRAM.exe [ARGUMENT...]
# With TEMPIVO_WINE_DISPLAY=x11 it draws on $DISPLAY, in the build's second prefix.
set -eu
. "$(dirname "$0")/wine-env.sh"
tempivo_wine_env "$1" "${TEMPIVO_WINE_DISPLAY:-null}"
shift
tempivo_wine_prefix
tempivo_without_clock_rights "$TEMPIVO_WINE" "$@"
