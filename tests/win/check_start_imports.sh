#!/usr/bin/env bash
# horavo.exe may import at its start only DLLs that every Windows it runs on keeps as Known DLLs:
# those come from the system folder whatever lies beside the program. Any other DLL is delay-loaded
# (cmake/DelayImports.cmake), after the process has narrowed its DLL search to the system folder.
# Usage: check_start_imports.sh OBJDUMP PROGRAM.exe
set -eu
objdump=$1
exe=$2
known=" advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll "
dlls=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "$exe: no imports found"; exit 1; }
status=0
for dll in $dlls; do
    case "$known" in
    *" $dll "*) ;;
    *) echo "$(basename "$exe") imports $dll at its start, which is not one of these Known DLLs: delay-load it"; status=1 ;;
    esac
done
echo "$(basename "$exe") at its start: $(echo $dlls)"
exit $status
