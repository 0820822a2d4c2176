#!/usr/bin/env bash
# Every .exe must run from a bare folder: it may import Windows system DLLs and nothing else.
# Usage: check_imports.sh OBJDUMP PROGRAM.exe...
set -eu
objdump=$1
shift
system_dlls=" $(echo advapi32.dll bcrypt.dll comctl32.dll comdlg32.dll crypt32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll \
    ole32.dll oleaut32.dll shell32.dll shlwapi.dll urlmon.dll user32.dll version.dll ws2_32.dll wsock32.dll) "
status=0
for exe in "$@"; do
    dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
    [ -n "$dlls" ] || { echo "$exe: no imports found"; status=1; }
    for dll in $dlls; do
        case "$system_dlls" in
        *" $dll "*) ;;
        *) echo "$exe imports $dll, which is not a Windows system DLL"; status=1 ;;
        esac
    done
    echo "$(basename "$exe"): $(echo $dlls)"
done
exit $status
