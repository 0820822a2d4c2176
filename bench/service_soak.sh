#!/usr/bin/env bash
# The time service for ten minutes: installed under Wine with INTERVAL=1 against a loopback
# responder, while a client connects 1 000 times (every second connection ends abruptly, every tenth
# writes junk) and a few more are killed mid-request. Prints its figures and a PASS or FAIL line per
# goal: a round a minute that sets the clock, one service process throughout, and its handles and
# working set at the last minute within 10 % of the first.
# Usage: bench/service_soak.sh BUILD_DIR SNTP_RESPONDER [MINUTES]   (10 minutes unless told)
set -u
if [ "${1:-}" != --inside ]; then
    root=$(cd "$(dirname "$0")/.." && pwd)
    build=$(cd "$1" && pwd)
    minutes=${3:-10}
    said=$(mktemp)
    "$2" --lifetime $((minutes * 60 + 180)) >"$said" 2>&1 &
    responder=$!
    for _ in $(seq 100); do [ -s "$said" ] && break; sleep 0.02; done
    # In a service prefix whose wine server stays up, as the service's tests run, but not theirs: a
    # test started meanwhile would end this one's server. The folder holds the build's architecture.
    mkdir -p "$build/bench/soak"
    cp "$build/wine-arch" "$build/bench/soak/"
    bash "$root/tests/win/in_service_prefix.sh" "$build/bench/soak" bash "$root/bench/service_soak.sh" --inside \
        "$build/horavo.exe" "$build/tools/pipe_client.exe" "$build/bench/service_probe.exe" "$(head -n 1 "$said")" \
        "$minutes"
    status=$?
    kill "$responder" 2>/dev/null
    rm -f "$said"
    exit "$status"
fi
horavo=$2 client=$3 probe=$4 port=$5 minutes=$6
. "$(dirname "$0")/../tests/win/lone_service.sh"
cleanup() {
    kill "${soak:-}" 2>/dev/null
    (cd "$folder" && "$TEMPIVO_WINE" horavo.exe -uninstall-service >/dev/null 2>&1 </dev/null)
    rm -rf "$folder"
}
trap cleanup EXIT

# "HANDLES WORKING_SET_BYTES HOW" as asked from inside Wine, then the Linux process's resident bytes
# and its Unix file descriptors.
measure() {
    local figures rss
    figures=$("$TEMPIVO_WINE" "$probe" </dev/null 2>/dev/null | tr -d '\r')
    [ -n "$figures" ] || figures="- ? ? none"
    rss=$(awk '/^VmRSS:/ { print $2 * 1024 }' "/proc/$1/status" 2>/dev/null)
    echo "${figures#* }" "${rss:-?}" "$(find "/proc/$1/fd" -mindepth 1 2>/dev/null | wc -l)"
}

(cd "$folder" && "$TEMPIVO_WINE" horavo.exe -install-service >/dev/null 2>&1 </dev/null) ||
    echo "-install-service failed"
start=$(date +%s)
for _ in $(seq 300); do [ -n "$(service_pids)" ] && break; sleep 0.1; done
pid=$(service_pids)
# The 1 000 connections (560 ms apart in ten minutes) end before the last reading.
"$TEMPIVO_WINE" "$client" soak 1000 $((minutes * 60 - 40)) >"$folder/soak.txt" 2>&1 </dev/null &
soak=$!

seen=" $pid " killed=0
for t in $(seq 5 5 $((minutes * 60))); do
    while [ $(($(date +%s) - start)) -lt "$t" ]; do sleep 1; done
    now=$(service_pids)
    now=${now:-none}
    case "$seen" in *" $now "*) ;; *) seen="$seen$now " ;; esac
    [ "$t" = 60 ] && first=$(measure "$pid")
    # Half past each minute but the last, a client killed with its request written, its answer unread.
    if [ $((t % 60)) = 30 ] && [ "$t" -lt $((minutes * 60 - 60)) ]; then
        "$TEMPIVO_WINE" "$client" hang STATUS >"$folder/hang.txt" 2>&1 </dev/null &
        for _ in $(seq 100); do grep -qs connected "$folder/hang.txt" && break; sleep 0.1; done
        grep -q connected "$folder/hang.txt" && killed=$((killed + 1))
        kill -9 $! 2>/dev/null
        wait $! 2>/dev/null
    fi
done
last=$(measure "$pid")
# A client whose answer never comes would wait for ever: a minute more, then it is ended.
for _ in $(seq 60); do kill -0 "$soak" 2>/dev/null || break; sleep 1; done
answered=$(tr -d '\r' <"$folder/soak.txt" | grep answered)

rounds=$(log_text | awk -F'\t' '$2 == "Good"' | wc -l)
synced=$(log_text | awk -F'\t' '$2 == "Good" && $0 ~ /\t同期成功(\t|$)/' | wc -l)
starts=$(log_text | grep -c $'\t開始しました')
read -r h1 w1 how r1 f1 <<<"${first:-}"
read -r h10 w10 _ r10 f10 <<<"$last"
echo "service soak, $minutes minutes: $rounds rounds, $synced 同期成功, $starts start(s) in the log;" \
    "Linux pid(s)$seen; client: ${answered:-no end within a minute}; $killed more killed mid-request"
echo "minute 1:  ${h1:-?} handles, working set ${w1:-?} bytes (Linux: VmRSS ${r1:-?}, ${f1:-?} fds)"
echo "minute $minutes: ${h10:-?} handles, working set ${w10:-?} bytes (Linux: VmRSS ${r10:-?}, ${f10:-?} fds)"
[ "$how" = handle-list ] && echo "handles counted in the system's handle list: Wine's GetProcessHandleCount says 0"
# Within 10 % of the earlier figure.
near() {
    case "$1$2" in '' | *[!0-9]*) return 1 ;; esac
    [ $((($2 - $1) * 10)) -le "$1" ] && [ $((($1 - $2) * 10)) -le "$1" ]
}
# PASS or FAIL for the goal, by the status of the command before it.
failures=0
goal() { if [ $? = 0 ]; then echo "PASS: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi; }
[ "$rounds" -ge $((minutes - 1)) ] && [ "$synced" = "$rounds" ]
goal "at least $((minutes - 1)) rounds, each 同期成功"
[ "$(wc -w <<<"$seen")" = 1 ] && [ "$starts" = 1 ]
goal "one service process throughout, one start in the log"
near "$h1" "$h10"
goal "handles within 10 % from minute 1 to minute $minutes"
near "$w1" "$w10"
goal "working set within 10 % from minute 1 to minute $minutes"
[ "$failures" = 0 ]
