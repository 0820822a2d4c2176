#!/usr/bin/env bash
# The clock error left on a random, asymmetric path, beside chronyd -Q on the same path in the same
# run: a loopback responder delays each direction of each packet by BASE ms plus an exponential
# delay of mean MEAN ms (the same series of delays each time), as queues on a real network do. horavo.exe -auto (one ticked
# server, a temporary folder each run) at SAMPLES 4 (the default) and 8, and chronyd -Q with iburst,
# run RUNS times each; the median and 95th percentile of |correction|, the requests one round sent
# and how long they took.
# Usage: bench/asymmetric_path.sh BUILD_DIR RESPONDER RUNS
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
responder=$2
runs=$3
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# Median and 95th percentile (nearest rank) of the magnitudes on standard input, one a line.
magnitudes() {
    awk '{ print ($1 < 0 ? -$1 : $1) }' | sort -g |
        awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
                                  r = int(0.95 * NR); if (r < 0.95 * NR) r++
                                  printf "%.1f ms, %.1f ms", m, v[r] }'
}
median() { sort -g | awk '{ v[NR] = $1 } END { printf "%g", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
largest() { sort -g | tail -n 1; }
# The responder's request lines from line FROM on: how many, and the milliseconds from the first to the last.
requests_from() { tail -n +"$2" "$1" | grep '^request' | awk '{ n++; t = $(NF - 1); if (n == 1) f = t } END { printf "%d %.0f\n", n, t - f }'; }

# horavo.exe -auto in a fresh folder with the responder as its one ticked server, RUNS times, at the
# SAMPLES given; appends |correction| figures to $1 and "requests span-ms" lines to $2.
tempivo_runs() {
    for _ in $(seq "$runs"); do
        folder=$(mktemp -d -p "$work")
        cp "$build/horavo.exe" "$folder/"
        printf '1\tPath\t127.0.0.1:%s\r\n' "$port" >"$folder/server.data"
        printf '[SETTING]\r\nSAMPLES=%s\r\n' "$samples" >"$folder/horavo.ini"
        from=$(($(wc -l <"$log") + 1))
        (cd "$folder" && "$root/scripts/wine-run.sh" "$build" "$folder/horavo.exe" -auto >/dev/null 2>&1) || true
        requests_from "$log" "$from" >>"$2"
        # The server's row: its last field is the correction, "+0.004 秒".
        iconv -f SHIFT_JIS -t UTF-8 "$folder/horavo.log" | tr -d '\r' |
            awk -F'\t' '$2 == "Path" && $NF ~ /秒/ { split($NF, c, " "); print c[1] * 1000 }' >>"$1"
        rm -rf "$folder"
    done
}

echo "| path, each way | Tempivo, SAMPLES=4 (the default): median, 95th percentile of \|correction\| | Tempivo, SAMPLES=8 | chronyd -Q | requests a round, SAMPLES=4 / 8 / chronyd (most) | first to last request of a round, median (longest), SAMPLES=4 / 8 |"
echo "|---|---|---|---|---|---|"
for path in "5 20" "1 5"; do
    read -r base mean <<<"$path"
    log="$work/responder-$base-$mean"
    "$responder" --path-base "$base" --path-mean "$mean" --series 29 --lifetime 3600 >"$log" &
    for _ in $(seq 50); do [ -s "$log" ] && break; sleep 0.1; done
    port=$(head -n 1 "$log")
    for samples in 4 8; do
        : >"$work/tempivo-$samples"
        : >"$work/rounds-$samples"
        tempivo_runs "$work/tempivo-$samples" "$work/rounds-$samples"
    done
    : >"$work/chrony"
    : >"$work/chrony-rounds"
    for _ in $(seq "$runs"); do
        from=$(($(wc -l <"$log") + 1))
        timeout 60 chronyd -Q -f /dev/null "server 127.0.0.1 port $port iburst" 2>&1 |
            sed -n 's/.*System clock wrong by \(-\?[0-9.]*\) seconds.*/\1/p' | awk '{ print $1 * 1000 }' >>"$work/chrony"
        requests_from "$log" "$from" >>"$work/chrony-rounds"
    done
    kill %% 2>/dev/null || true
    wait 2>/dev/null || true
    sent() { cut -d' ' -f1 "$1" | median; printf ' (%s)' "$(cut -d' ' -f1 "$1" | largest)"; }
    span() { cut -d' ' -f2 "$1" | median; printf ' ms (%s ms)' "$(cut -d' ' -f2 "$1" | largest)"; }
    echo "| $base ms + exp. mean $mean ms | $(magnitudes <"$work/tempivo-4") | $(magnitudes <"$work/tempivo-8") |" \
        "$(magnitudes <"$work/chrony") | $(sent "$work/rounds-4") / $(sent "$work/rounds-8") / $(sent "$work/chrony-rounds") |" \
        "$(span "$work/rounds-4") / $(span "$work/rounds-8") |"
    echo "(figures: $(wc -l <"$work/tempivo-4") and $(wc -l <"$work/tempivo-8") of Tempivo, $(wc -l <"$work/chrony") of chronyd, of $runs runs each)"
done
