#!/usr/bin/env bash
# Runs a GoogleTest program of the Windows build on a Wine desktop with a taskbar and notification
# area, on a virtual X display: what the null display driver of the other tests cannot give.
# Usage: on_wine_desktop.sh BUILD_DIR TEST_PROGRAM.exe
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
. "$root/scripts/wine-env.sh"
. "$root/scripts/xvfb-env.sh"
build=$(cd "$1" && pwd)
program=$2

tempivo_wine_env "$build" x11
tempivo_wine_prefix
tempivo_start_xvfb
results=$(mktemp -d)
trap '"$TEMPIVO_WINESERVER" -k 2>/dev/null || true; tempivo_stop_xvfb; rm -rf "$results"' EXIT

windows_path() { local p=$1; echo "Z:${p//\//\\}"; }
# A Wine desktop named "shell" has the taskbar; a program started in it gives no output back, so
# the results come as GoogleTest's XML report.
tempivo_without_clock_rights "$TEMPIVO_WINE" explorer /desktop=shell,800x600 "$(windows_path "$program")" \
    "--gtest_output=xml:$(windows_path "$results/report.xml")" >/dev/null 2>&1 &
for _ in $(seq 600); do [ -s "$results/report.xml" ] && break; sleep 0.1; done
sleep 0.5
[ -s "$results/report.xml" ] || { echo "no test report: the program did not run to its end" >&2; exit 1; }
grep -o '<testcase [^>]*name="[^"]*"' "$results/report.xml" | sed 's/.*name="/ran: /;s/"$//'
grep -a -A3 '<failure' "$results/report.xml" | sed 's/&#x0A;/\n/g;s/&quot;/"/g' || true
tests=$(grep -o '<testsuites [^>]*' "$results/report.xml" | sed -n 's/.* tests="\([0-9]*\)".*/\1/p')
failures=$(grep -o '<testsuites [^>]*' "$results/report.xml" | sed -n 's/.* failures="\([0-9]*\)".*/\1/p')
echo "[==========] $tests tests ran on the Wine desktop, $failures failed."
[ "$failures" = 0 ] && [ "${tests:-0}" -gt 0 ]
