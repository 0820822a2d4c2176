#!/usr/bin/env bash
# The clock error left after a synchronisation across a network path, beside chronyd -Q asking the
# same server in the same run: a loopback responder simulates a symmetric path (the request arrives
# D ms late, the reply takes D ms more), for D = 0, 20 and 100 ms.
# Usage: bench/path_delay.sh BUILD_DIR RESPONDER RUNS
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
responder=$2
runs=$3
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# Median, lowest and highest of the numbers on standard input (one per line), in ms.
summary() { sort -g | awk '{ v[NR] = $1 } END { printf "%+.2f ms (from %+.2f to %+.2f)", v[int((NR + 1) / 2)], v[1], v[NR] }'; }

echo "| one-way delay | Tempivo, median of $runs (spread) | chronyd -Q, median of $runs (spread) |"
echo "|---|---|---|"
for delay in 0 20 100; do
    "$responder" --path-delay "$delay" --lifetime 900 >"$work/responder-$delay" &
    for _ in $(seq 50); do [ -s "$work/responder-$delay" ] && break; sleep 0.1; done
    port=$(head -n 1 "$work/responder-$delay")
    tempivo=$("$root/scripts/wine-run.sh" "$build" "$build/bench/sync_bench.exe" "$runs" "127.0.0.1:$port" |
        sed -n 's/^server-time text.*median of [0-9]* runs: //p')
    for _ in $(seq "$runs"); do
        timeout 20 chronyd -Q -f /dev/null "server 127.0.0.1 port $port iburst maxsamples 1" 2>&1 |
            sed -n 's/.*System clock wrong by \(-\?[0-9.]*\) seconds.*/\1/p' | awk '{ print $1 * 1000 }'
    done >"$work/chrony"
    kill %% 2>/dev/null || true
    wait 2>/dev/null || true
    echo "| $delay ms | $tempivo | $(summary <"$work/chrony") |"
done
