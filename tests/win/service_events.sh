#!/usr/bin/env bash
# The time service's events as Wine's event log receives them. Wine keeps no event log: its
# ReportEventW prints the call (type and id) and, with WINEDEBUG=+eventlog, each insertion string.
# The prefix's first program has that setting and its standard error in a file, and the service
# manager, the service with it, inherit both. Installed with a good server, then updated to a silent
# one: its start, a success, its stop, its start again and a round that found no answer.
# Run by in_service_prefix.sh. Usage: service_events.sh HORAVO.exe PEERS_FILE
set -u
horavo=$1
peers=$2
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

trace=$(mktemp)
folder=$(mktemp -d)
cleanup() {
    (cd "$folder" && "$TEMPIVO_WINE" horavo.exe -uninstall-service -quiet >/dev/null 2>&1 </dev/null)
    rm -rf "$folder" "$trace"
}
trap cleanup EXIT
WINEDEBUG=+eventlog "$TEMPIVO_WINE" cmd /c exit >/dev/null 2>"$trace" </dev/null
cp "$horavo" "$folder/horavo.exe"
list() { printf '1\t%s\t127.0.0.1:%s\r\n' "$1" "$(awk -v n="$2" '$1 == n { print $2 }' "$peers")" >"$folder/server.data"; }
events() { grep -a -c "ReportEventW ([0-9A-F]*,0x000$1,0x0000,0x$2," "$trace"; }

list Good good
(cd "$folder" && "$TEMPIVO_WINE" horavo.exe -install-service -quiet >/dev/null 2>&1 </dev/null) || fail "install"
for _ in $(seq 300); do [ "$(events 4 00000064)" -ge 1 ] && break; sleep 0.1; done
list Silent silent
(cd "$folder" && "$TEMPIVO_WINE" horavo.exe -update-service -quiet >/dev/null 2>&1 </dev/null) || fail "update"
for _ in $(seq 300); do [ "$(events 1 000000c8)" -ge 1 ] && break; sleep 0.1; done

# Information (4) for its starts, its stop and the success; error (1) for the round without an answer.
[ "$(events 4 00000001)" = 2 ] || fail "two starts: $(events 4 00000001)"
[ "$(events 4 00000002)" = 1 ] || fail "one stop: $(events 4 00000002)"
[ "$(events 4 00000064)" = 1 ] || fail "one success: $(events 4 00000064)"
[ "$(events 1 000000c8)" -ge 1 ] || fail "no answer: $(events 1 000000c8)"
# The rows are the insertion strings.
grep -aq 'trace:eventlog:ReportEventW L"Good  ' "$trace" || fail "the success's row"
grep -aq "eventlog:ReportEventW L\"Silent  " "$trace" || fail "the silent server's row"
grep -a "ReportEventW" "$trace" | sed 's/^[0-9a-f]*://'
[ "$failures" = 0 ] && echo "service events: passed" || echo "service events: $failures failed"
[ "$failures" = 0 ]
