#!/usr/bin/env bash
# The Windows Installer package under Wine's msiexec, as an office's deployment runs it: installed
# quietly (the program, the service running, a Start-menu entry, an entry in Apps & Features with
# its version), upgraded in place by a later version, an older one refused, and removed leaving
# nothing behind.
# Run by in_service_prefix.sh. Usage: msi_lifecycle.sh PACKAGE.msi PACKAGE_FOLDER VERSION ARCH
set -u
here=$(cd "$(dirname "$0")" && pwd)
msi=$1
folder=$2
version=$3
arch=$4
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
drive="$WINEPREFIX/drive_c"

# A later version of the same files: the patch number one more.
later="${version%.*}.$((${version##*.} + 1))"
"$here/../../dist/build_msi.sh" "$folder" "$work/later.msi" "$later" "$arch" || fail "building $later"

msiexec() { "$TEMPIVO_WINE" msiexec "$@" >/dev/null 2>&1 </dev/null; }
service_state() { "$TEMPIVO_WINE" sc query Tempivo 2>/dev/null | tr -d '\r' | awk '/STATE/ { print $4 }'; }
# The versions of Tempivo that Apps & Features lists.
listed() {
    "$TEMPIVO_WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
        awk '/DisplayName/ { name = $3 } /DisplayVersion/ { if (name == "Tempivo") print $3 }' | sort | tr '\n' ' '
}
shortcuts() { find "$drive" -name 'Tempivo.lnk' 2>/dev/null | wc -l; }

cp "$msi" "$work/first.msi"
msiexec /i "$work/first.msi" /qn || fail "install"
[ "$(service_state)" = RUNNING ] || fail "the service after the install: $(service_state)"
for file in horavo.exe horavo.chm server.data README.txt; do
    [ -f "$drive/Program Files/Tempivo/$file" ] || fail "Program Files\\Tempivo\\$file"
done
[ -f "$drive/ProgramData/Tempivo/horavo.ini" ] || fail "the service's folder"
[ "$(listed)" = "$version " ] || fail "Apps & Features lists '$(listed)', not $version"
[ "$(shortcuts)" = 1 ] || fail "a Start-menu entry: $(shortcuts)"

msiexec /i "$work/later.msi" /qn || fail "the upgrade to $later"
[ "$(listed)" = "$later " ] || fail "after the upgrade Apps & Features lists '$(listed)'"
[ "$(service_state)" = RUNNING ] || fail "the service after the upgrade: $(service_state)"

msiexec /i "$work/first.msi" /qn && fail "the older version was installed over the newer"
[ "$(listed)" = "$later " ] || fail "after the refused downgrade Apps & Features lists '$(listed)'"

msiexec /x "$work/later.msi" /qn || fail "the removal"
[ -z "$(service_state)" ] || fail "a service left: $(service_state)"
[ ! -e "$drive/Program Files/Tempivo" ] || fail "Program Files\\Tempivo left"
[ ! -e "$drive/ProgramData/Tempivo" ] || fail "ProgramData\\Tempivo left"
[ -z "$(listed)" ] || fail "Apps & Features still lists '$(listed)'"
[ "$(shortcuts)" = 0 ] || fail "a Start-menu entry left"

[ "$failures" = 0 ] && echo "msi lifecycle ($version, $later): passed" || echo "msi lifecycle: $failures failed"
[ "$failures" = 0 ]
