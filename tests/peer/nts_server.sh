#!/usr/bin/env bash
# Starts and stops a loopback NTS server for the tests: chronyd -x (it serves and never touches
# the clock) with NTS-KE over TLS 1.3, a throw-away certificate for NAME, on free ports of 127.0.0.1
# and ::1. STATE_FILE gets "name NAME", "ntske PORT", "ntp PORT", "cert PATH" (the server's
# certificate, DER) and "root PATH" (the root the test must trust, DER).
# The certificate, by KIND:
#   self-signed  EC P-256, self-signed, its subject alternative name DNS:NAME (the default)
#   rsa-chain    RSA 2048 under an RSA 2048 intermediate and root made here; the server sends the
#                intermediate with it
#   ec-chain     EC P-384 under such an RSA intermediate and root
#   cn-only      EC P-256, self-signed, NAME in its common name only, no subject alternative name
#   ip-names     EC P-256, self-signed, the names DNS:127.0.0.1, DNS:*.0.0.1 and IP:::1
# Usage: nts_server.sh start STATE_FILE NAME [KIND] | nts_server.sh stop STATE_FILE
set -eu
action=$1
state_file=$2
state="$state_file.d"

# Ends this server's chronyd, and waits for it: it writes its keys to the dump folder as it ends.
stop_server() {
    if [ -s "$state/chronyd.pid" ]; then
        pid=$(cat "$state/chronyd.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.02; done
    fi
    if [ -s "$state/timeout.pid" ]; then
        kill "$(cat "$state/timeout.pid")" 2>/dev/null || true
    fi
}

stop() {
    stop_server
    rm -rf "$state" "$state_file"
}

if [ "$action" = stop ]; then
    stop
    exit 0
fi

name=$3
kind=${4:-self-signed}
stop
mkdir -p "$state/dump"

# A self-signed certificate with these extra arguments to openssl req.
self_signed() {
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj "/CN=$name" "$@" \
        -keyout "$state/key.pem" -out "$state/cert.pem" 2>/dev/null
    cp "$state/cert.pem" "$state/root.pem"
}

# A root and an intermediate (RSA 2048), and the server's certificate under them with a key made
# by these arguments to openssl req; chronyd sends the certificate and the intermediate.
chain() {
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tempivo Test Root" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
        -keyout "$state/root.key" -out "$state/root.pem" 2>/dev/null
    printf 'basicConstraints=critical,CA:TRUE,pathlen:0\nkeyUsage=critical,keyCertSign,cRLSign\n' >"$state/ca.ext"
    openssl req -new -newkey rsa:2048 -nodes -subj "/CN=Tempivo Test Intermediate" \
        -keyout "$state/intermediate.key" -out "$state/intermediate.csr" 2>/dev/null
    openssl x509 -req -in "$state/intermediate.csr" -CA "$state/root.pem" -CAkey "$state/root.key" \
        -CAcreateserial -days 2 -extfile "$state/ca.ext" -out "$state/intermediate.pem" 2>/dev/null
    printf 'basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\n%s\n%s\n' \
        "extendedKeyUsage=serverAuth" "subjectAltName=DNS:$name" >"$state/leaf.ext"
    openssl req -new "$@" -nodes -subj "/CN=$name" -keyout "$state/key.pem" -out "$state/leaf.csr" 2>/dev/null
    openssl x509 -req -in "$state/leaf.csr" -CA "$state/intermediate.pem" -CAkey "$state/intermediate.key" \
        -CAcreateserial -days 2 -extfile "$state/leaf.ext" -out "$state/leaf.pem" 2>/dev/null
    cat "$state/leaf.pem" "$state/intermediate.pem" >"$state/cert.pem"
}

case $kind in
self-signed) self_signed -addext "subjectAltName=DNS:$name" ;;
cn-only) self_signed ;;
ip-names) self_signed -addext "subjectAltName=DNS:127.0.0.1,DNS:*.0.0.1,IP:::1" ;;
rsa-chain) chain -newkey rsa:2048 ;;
ec-chain) chain -newkey ec -pkeyopt ec_paramgen_curve:secp384r1 ;;
*) echo "nts_server.sh: no certificate kind $kind" >&2; exit 2 ;;
esac
openssl x509 -in "$state/cert.pem" -outform DER -out "$state/cert.der"
openssl x509 -in "$state/root.pem" -outform DER -out "$state/root.der"

# Listening on PORT of both loopback addresses (tcp or udp): chronyd's own sockets, none of another
# program's.
ours_on() {
    [ "$(ss -H -ln"$1"p "sport = :$2" | grep -c "pid=$3,")" -ge 2 ]
}

# Two free ports from the system (TCP for NTS-KE, UDP for NTP), then chronyd on them. The ports are
# free when asked for, not when chronyd binds them: another server started at the same moment (the
# tests start six) may take one first, so chronyd counts as ready only once both ports are its own,
# and otherwise starts again on other ports.
for _ in 1 2 3 4 5; do
    read -r ntske_port ntp_port < <(python3 -c '
import socket
t = socket.socket(socket.AF_INET, socket.SOCK_STREAM); t.bind(("127.0.0.1", 0))
u = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); u.bind(("127.0.0.1", 0))
print(t.getsockname()[1], u.getsockname()[1])')
    cat >"$state/chrony.conf" <<CONF
port $ntp_port
bindaddress 127.0.0.1
bindaddress ::1
allow 127.0.0.1
allow ::1
local stratum 2
cmdport 0
ntsport $ntske_port
ntsserverkey $state/key.pem
ntsservercert $state/cert.pem
ntsdumpdir $state/dump
ntsprocesses 0
pidfile $state/chronyd.pid
driftfile $state/chrony.drift
CONF
    # -x: never the clock. -u root: it reads the key before it would drop its rights. The time-out
    # is a safety net: chronyd ends by itself even if nobody stops it.
    rm -f "$state/chronyd.pid"
    timeout 900 chronyd -x -n -u root -f "$state/chrony.conf" >"$state/chronyd.log" 2>&1 </dev/null &
    echo $! >"$state/timeout.pid"

    for _ in $(seq 100); do
        if [ -s "$state/chronyd.pid" ] && (exec 3<>"/dev/tcp/127.0.0.1/$ntske_port") 2>/dev/null; then
            pid=$(cat "$state/chronyd.pid")
            if ours_on t "$ntske_port" "$pid" && ours_on u "$ntp_port" "$pid"; then
                printf 'name %s\nntske %s\nntp %s\ncert %s\nroot %s\n' "$name" "$ntske_port" "$ntp_port" \
                    "$state/cert.der" "$state/root.der" >"$state_file"
                exit 0
            fi
            break
        fi
        sleep 0.05
    done
    echo "nts_server.sh: chronyd did not get ports $ntske_port and $ntp_port:" >&2
    cat "$state/chronyd.log" >&2
    stop_server
done
stop
exit 1
