#!/usr/bin/env bash
# The time service as a user meets it: installed by a plain process whose output goes nowhere, from
# a temporary folder, and then left alone: nothing of the test runs in the prefix while its first
# round is awaited, which is read from its log file alone. Then clients that misbehave, each its own
# process: killed mid-request, ended without closing its handle, connected and silent, half a
# message written. After each the service is the same process, its log has one start, and its next
# round is still due when it was.
# Run by in_service_prefix.sh. Usage: service_alone.sh HORAVO.exe PIPE_CLIENT.exe PEERS_FILE
set -u
horavo=$1
client=$2
peers=$3

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
port=$(awk '$1 == "good" { print $2 }' "$peers")
[ -n "$port" ] || { echo "no loopback server named good in $peers"; exit 1; }

. "$(dirname "$0")/lone_service.sh"
said=$(mktemp)
cleanup() {
    (cd "$folder" && "$TEMPIVO_WINE" horavo.exe -uninstall-service >/dev/null 2>&1 </dev/null)
    rm -rf "$folder" "$said"
}
trap cleanup EXIT

starts() { log_text | grep -c $'\t開始しました'; }
seconds_of() { date -d "$(echo "$1" | cut -f1 | tr / -)" +%s; }
# The seconds STATUS says the next round is away, or nothing.
next_round_in() { "$TEMPIVO_WINE" "$client" status 2>/dev/null | sed -n 's/^STATUS \([0-9-]*\) .*/\1/p' | head -n 1; }

(cd "$folder" && "$TEMPIVO_WINE" horavo.exe -install-service >/dev/null 2>&1 </dev/null)
installed=$?
[ "$installed" = 0 ] || fail "-install-service ended with $installed"

# The first round: ten seconds after the start, nobody asking.
for _ in $(seq 300); do log_text | grep -q $'\tGood\t' && break; sleep 0.1; done
started=$(log_text | grep -m1 $'\t開始しました')
first=$(log_text | grep -m1 $'\tGood\t')
echo "log: $started"
echo "log: $first"
case "$first" in *$'\t同期成功\t'*) ;; *) fail "no first round that set the clock: '$first'" ;; esac
if [ -n "$started" ] && [ -n "$first" ]; then
    gap=$(($(seconds_of "$first") - $(seconds_of "$started")))
    [ "$gap" -ge 9 ] && [ "$gap" -le 14 ] || fail "the first round came $gap s after the start, not 10"
fi
pid=$(service_pids)
[ "$(echo "$pid" | wc -w)" = 1 ] || fail "not one service process: '$pid'"

# Each misbehaving client, then: the same process, one start, the next round when it was due. The
# bounds allow for the time a Wine program takes to start on a busy machine: STATUS is answered
# somewhere between the readings of the clock before and after it.
t0=$(date +%s)
before=$(next_round_in)
t1=$(date +%s)
[ -n "$before" ] || fail "no STATUS after the first round"
misbehave() {
    local what=$1
    shift
    "$TEMPIVO_WINE" "$client" "$@" >"$said" 2>/dev/null </dev/null &
    local running=$!
    # Killed once it is connected (or once it has ended by itself).
    for _ in $(seq 300); do grep -q . "$said" && break; kill -0 "$running" 2>/dev/null || break; sleep 0.1; done
    sleep 0.5
    kill -9 "$running" 2>/dev/null
    wait "$running" 2>/dev/null
    sleep 1
    local now next u0 u1
    now=$(service_pids)
    [ "$now" = "$pid" ] || fail "$what: the service's process was '$pid', is '$now'"
    [ "$(starts)" = 1 ] || fail "$what: the log has $(starts) starts"
    u0=$(date +%s)
    next=$(next_round_in)
    u1=$(date +%s)
    # Due at t + before for a t in [t0, t1]; asked at a u in [u0, u1]; a second either way for rounding.
    if [ -z "$next" ] || [ "$next" -lt $((t0 + before - u1 - 2)) ] || [ "$next" -gt $((t1 + before - u0 + 2)) ]; then
        fail "$what: the next round is ${next:-?} s away, $((t0 + before - u1)) to $((t1 + before - u0)) s expected"
    fi
    echo "after a client $what ($(head -c 40 "$said" | head -n 1)): service $now, next round in ${next:-?} s"
}
misbehave "killed mid-request" hang STATUS
misbehave "that ends without closing" abandon
misbehave "that never writes" hang
misbehave "that writes half a message" hang STAT

[ "$failures" = 0 ] && echo "service alone: passed" || echo "service alone: $failures failed"
[ "$failures" = 0 ]
