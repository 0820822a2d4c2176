#!/usr/bin/env bash
# The folders are floors: a source file includes headers of its own floor and of the floors below
# it, never of one above, and every floor may include the constants of res/. Prints each include
# that goes up and fails if there is one.
# Usage: check_floors.sh SOURCE_ROOT
set -u
cd "$1" || exit 2
floors=(base sntp nts query round store shell service install tray servers rights ui app)
level() {
    local i
    for i in "${!floors[@]}"; do [ "${floors[$i]}" = "$1" ] && { echo "$i"; return; }; done
    echo -1
}
upward=0
for floor in "${floors[@]}"; do
    own=$(level "$floor")
    while IFS=: read -r file line text; do
        target=$(echo "$text" | sed -n 's/.*#include "\([a-z]*\)\/.*/\1/p')
        [ -n "$target" ] || continue
        their=$(level "$target")
        if [ "$their" -gt "$own" ]; then
            echo "$file:$line: $floor/ includes $target/, a floor above it:$text"
            upward=$((upward + 1))
        fi
    done < <(grep -n '#include "' "$floor"/*.h "$floor"/*.cpp 2>/dev/null)
done
[ "$upward" -eq 0 ] && echo "check_floors: no include goes up" || exit 1
