# What the scripts that meet the installed service from outside Wine share: a folder to install it
# from with one loopback server, its Linux processes in this prefix, and its log as text.
# Sourced. Needs horavo (the program), port (the loopback server's) and WINEPREFIX; sets folder and
# log.
folder=$(mktemp -d)
log="$WINEPREFIX/drive_c/ProgramData/Tempivo/horavo.log"
cp "$horavo" "$folder/horavo.exe"
printf '1\tGood\t127.0.0.1:%s\r\n' "$port" >"$folder/server.data"
printf '[SETTING]\r\nINTERVAL=1\r\nOFFSET=0\r\n' >"$folder/horavo.ini"

# The service's Linux processes in this prefix (a service of another prefix is not ours).
service_pids() {
    local pid
    for pid in $(pgrep -f 'Program Files.*horavo\.exe -service'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
    done
}
log_text() { iconv -f CP932 -t UTF-8 "$log" 2>/dev/null; }
