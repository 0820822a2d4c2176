#!/usr/bin/env bash
# A real NTP client, chronyd measuring only (-Q: it never sets the clock), reads the responder's
# offset back, so the responder answers as a real server does.
# Usage: chrony_measures_responder.sh SNTP_RESPONDER
set -eu
responder=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

status=0
for offset in 2.5 -1.25; do
    "$responder" --offset "$offset" --lifetime 20 >"$work/out" &
    for _ in $(seq 50); do [ -s "$work/out" ] && break; sleep 0.1; done
    port=$(head -n 1 "$work/out")
    said=$(timeout 20 chronyd -Q -f /dev/null "server 127.0.0.1 port $port iburst maxsamples 1" 2>&1 || true)
    measured=$(sed -n 's/.*System clock wrong by \(-\?[0-9.]*\) seconds.*/\1/p' <<<"$said")
    kill %% 2>/dev/null || true
    wait 2>/dev/null || true
    if [ -z "$measured" ]; then
        echo "offset $offset: chronyd measured nothing:"
        echo "$said"
        status=1
    elif awk -v m="$measured" -v o="$offset" 'BEGIN { d = m - o; exit !(d < 0.05 && d > -0.05) }'; then
        echo "offset $offset: chronyd measured $measured s"
    else
        echo "offset $offset: chronyd measured $measured s, too far off"
        status=1
    fi
done
exit $status
