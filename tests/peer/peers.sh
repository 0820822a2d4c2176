#!/usr/bin/env bash
# Starts and stops the loopback time servers the Windows tests synchronise with: one sntp_responder
# per behaviour, and a real NTP server (chronyd -x: it serves and never touches the clock).
# Their names and ports go to PEERS_FILE, a line "name port" each.
# Usage: peers.sh start PEERS_FILE SNTP_RESPONDER | peers.sh stop PEERS_FILE
set -eu
action=$1
peers=$2
state="$peers.d"

stop() {
    if [ -d "$state" ]; then
        for pidfile in "$state"/*.pid; do
            [ -e "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
        done
        rm -rf "$state"
    fi
    rm -f "$peers"
}

if [ "$action" = stop ]; then
    stop
    exit 0
fi

responder=$3
stop
mkdir -p "$state"
: >"$peers.new"
lifetime=900  # a safety net: they end by themselves even if nobody stops them

# name, then the responder's options. The "--good-after" ones send a crafted datagram first and a
# proper reply 300 ms later, which the client must still take. Crafted datagrams carry a time far
# from now (2024-01-01), so one that slipped through would show as a refused clock. "mute",
# "second" and "sixteen1" to "sixteen16" (sixteen silent servers: a round asks one address at most
# eight times) each serve one test alone, which counts the requests in its log. "long"
# answers with 68 bytes, as a server with a key and digest behind its reply does. "flood" sends junk
# from another port, ten thousand datagrams a second for 12 s, and never answers. "kiss" sends an
# informing kiss-o'-death (INIT), which is dropped like an unusable reply; "deny", "rstr" and "rate"
# send the kisses that keep a server away. "good6" answers on ::1, "ntp6" on ::1 port 123. "near" is a minute off (refused
# by Wine, within the step limit), "hour" and "twohours" beyond it, each with a twin that agrees.
# "twodeny" (::1) and "twogood" (127.0.0.1) share a port: the two servers of the name tempivo-two.test.
# "lateback" holds its first three replies 1.2 s on their way back (each then looks 0.6 s off) and
# sends the rest at once: the samples' test, which must be its first client.
while read -r name options; do
    [ -n "$name" ] || continue
    # "@name" stands for the port of a peer started before: two servers behind one name and port.
    case "$options" in
    *@*)
        other=${options##*@}
        options="${options%@*}$(awk -v n="$other" '$1 == n { print $2 }' "$peers.new")"
        ;;
    esac
    # shellcheck disable=SC2086
    "$responder" --lifetime "$lifetime" $options >"$state/$name.log" 2>&1 &
    echo $! >"$state/$name.pid"
    for _ in $(seq 100); do [ -s "$state/$name.log" ] && break; sleep 0.02; done
    # A peer that could not start (its port taken) is left out, so the others' lines stay readable.
    port=$(head -n 1 "$state/$name.log")
    case "$port" in
    '' | *[!0-9]*) echo "peers: $name did not start: $port" >&2 ;;
    *) echo "$name $port" >>"$peers.new" ;;
    esac
done < <(cat <<'LIST'
good
good2
far --offset 3600
silent --silent
spoofed --from-other-port --transmit 3913056000 --good-after 300
short --length 20 --good-after 300
long --length 68
zero --transmit 0 --good-after 300
unsynchronised --leap 3 --transmit 3913056000 --good-after 300
kiss --kiss INIT --transmit 3913056000 --good-after 300
deny --kiss DENY
rstr --kiss RSTR
rate --kiss RATE
good6 --ipv6
ntp6 --ipv6 --port 123
near --offset 60
hour --offset 3600
hour2 --offset 3600
twohours --offset 7200
twohours2 --offset 7200
before1970 --transmit 2147483648 --good-after 300
otherorigin --other-origin --transmit 3913056000 --good-after 300
mode3 --mode 3 --transmit 3913056000 --good-after 300
mode5 --mode 5 --transmit 3913056000 --good-after 300
version0 --version 0 --transmit 3913056000 --good-after 300
stratum16 --stratum 16 --transmit 3913056000 --good-after 300
slow --delay 500
mute --silent
second --answer-from 2
flood --flood 12000
twodeny --ipv6 --kiss DENY
twogood --port @twodeny
lateback --slow-replies 3 --slow-by 1200
LIST
    for i in $(seq 16); do echo "sixteen$i --silent"; done
)

# chronyd serves on a port the system just gave a responder that ended at once.
port=$("$responder" --lifetime 0 | head -n 1)
cat >"$state/chrony.conf" <<CONF
port $port
bindaddress 127.0.0.1
allow 127.0.0.1
local stratum 8
cmdport 0
pidfile $state/chronyd.pid
driftfile $state/chrony.drift
CONF
chronyd -x -n -u root -f "$state/chrony.conf" >"$state/chronyd.log" 2>&1 </dev/null &
echo "chrony $port" >>"$peers.new"
for _ in $(seq 100); do [ -s "$state/chronyd.pid" ] && break; sleep 0.02; done

mv "$peers.new" "$peers"
