#!/usr/bin/env bash
# Runs every benchmark against the current builds and prints the figures for docs/performance.md.
# Usage: bench/run.sh [RUNS]   (after make check, or at least the native and the Windows builds)
# The 32-bit build is measured where 32-bit programs run, else the 64-bit one; TEMPIVO_BENCH_PRESET
# chooses (windows or windows64).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-51}
preset=${TEMPIVO_BENCH_PRESET:-$(bash "$root/scripts/runnable-preset.sh")}
build="$root/build/$preset"
bench="$build/bench"

# Wine shows the Linux root as drive Z:.
windows_path() { local p=$1; echo "Z:${p//\//\\}"; }

cmake --build --preset "$preset" --target minimal_dialog startup_bench sync_bench window_bench horavo pipe_client \
    service_probe >/dev/null
"$root/tests/peer/peers.sh" start "$bench/peers.txt" "$root/build/native/tools/sntp_responder"
trap '"$root/tests/peer/peers.sh" stop "$bench/peers.txt"; "$root/scripts/wine-server.sh" "$build" stop' EXIT
"$root/scripts/wine-server.sh" "$build" start

echo "machine: $(uname -sr), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $("$root/scripts/wine-run.sh" "$build" --version)"
echo "build: $preset, a $(sed s/win// "$build/wine-arch")-bit horavo.exe under $(sed s/win// "$build/wine-arch")-bit Wine"
folder=$(mktemp -d)
cp "$build/horavo.exe" "$bench/minimal_dialog.exe" "$folder/"
"$root/scripts/wine-run.sh" "$build" "$bench/startup_bench.exe" "$(windows_path "$folder/horavo.exe")" \
    "$(windows_path "$folder/minimal_dialog.exe")" "$runs"
rm -rf "$folder"
"$root/scripts/wine-run.sh" "$build" "$bench/sync_bench.exe" "$runs"
echo "clock error left across a simulated network path:"
bash "$root/bench/path_delay.sh" "$build" "$root/build/native/tools/sntp_responder" 21
echo "clock error left across a random, asymmetric path:"
bash "$root/bench/asymmetric_path.sh" "$build" "$root/build/native/tools/sntp_responder" 20
"$root/scripts/wine-run.sh" "$build" "$bench/window/window_bench.exe" 11

# CPU time of one idle minute, read from Linux (Wine does not report other processes' times): the
# window shown, the one-second timer running, no synchronisation due.
idle=$(mktemp -d)
cp "$build/horavo.exe" "$idle/"
printf '1\tNICT\tntp.nict.jp\r\n' >"$idle/server.data"
(cd "$idle" && "$root/scripts/wine-run.sh" "$build" "$idle/horavo.exe" >/dev/null 2>&1 &)
sleep 3
pid=$(pgrep -xf "$idle/horavo.exe")
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep 60
after=$(ticks)
kill "$pid" 2>/dev/null || true
rm -rf "$idle"
awk -v t=$((after - before)) -v hz="$hz" 'BEGIN { printf "CPU time in one idle minute: %.0f ms (%.3f %% of one core)\n", t * 1000 / hz, t * 100 / hz / 60 }'

# The time service for ten minutes, a client connecting all the while; its goals print PASS or FAIL,
# and a missed one is said without losing the figures above.
bash "$root/bench/service_soak.sh" "$build" "$root/build/native/tools/sntp_responder" ||
    echo "service soak: a goal was missed (FAIL above)"
