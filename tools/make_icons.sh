#!/usr/bin/env bash
# Draws the program icon 128 (a clock face, 32x32 and 16x16) and the log-row icon 201 (16x16),
# each in 16 colours, with Debian's ImageMagick. The .ico files are committed; run this after a change.
# Usage: tools/make_icons.sh [OUTPUT_DIR]   (default: res)
set -eu
out=${1:-$(dirname "$0")/../res}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A clock at ten past ten: blue rim, white face, dark hands, a red centre.
clock() {
    local size=$1 file=$2
    local s
    s=$(awk -v n="$size" 'BEGIN { print n / 32 }')
    # Small sizes are drawn without anti-aliasing: crisp pixels read better than grey ones.
    local aa=-antialias
    [ "$size" -gt 16 ] || aa=+antialias
    convert -size "${size}x${size}" xc:none "$aa" -strokewidth "$(awk -v s="$s" 'BEGIN { print 2.4 * s }')" \
        -fill white -stroke '#1f4fa8' \
        -draw "$(awk -v s="$s" 'BEGIN { printf "circle %f,%f %f,%f", 15.5*s, 15.5*s, 15.5*s, 1.8*s }')" \
        -stroke '#1a1a1a' -strokewidth "$(awk -v s="$s" 'BEGIN { print (s < 1 ? 1 : 2.2) }')" \
        -draw "$(awk -v s="$s" 'BEGIN { printf "line %f,%f %f,%f", 15.5*s, 15.5*s, 9*s, 11*s }')" \
        -draw "$(awk -v s="$s" 'BEGIN { printf "line %f,%f %f,%f", 15.5*s, 15.5*s, 23*s, 8*s }')" \
        -stroke none -fill '#d02020' \
        -draw "$(awk -v s="$s" 'BEGIN { printf "circle %f,%f %f,%f", 15.5*s, 15.5*s, 15.5*s, 13.8*s }')" \
        "$file"
}

# A small clock with a green tick: one synchronisation attempt in the log.
log_row() {
    local file=$1
    convert -size 16x16 xc:none +antialias -strokewidth 1.2 -fill white -stroke '#1f4fa8' -draw 'circle 7.5,7.5 7.5,1' \
        -stroke '#1a1a1a' -strokewidth 1 -draw 'line 7.5,7.5 7.5,3.5' -draw 'line 7.5,7.5 10.5,7.5' \
        -stroke '#1e9e3a' -strokewidth 2 -fill none -draw 'polyline 8,12 10,14.5 15,9' \
        "$file"
}

# Icons keep transparency in a one-bit mask: cut the alpha hard first, then keep 15 colours and the
# transparent one.
to_icon() {
    local out_file=$1
    shift
    convert "$@" -channel A -threshold 50% +channel -colors 15 "$out_file"
}

clock 32 "$work/clock32.png"
clock 16 "$work/clock16.png"
log_row "$work/log16.png"
to_icon "$out/horavo.ico" "$work/clock32.png" "$work/clock16.png"
to_icon "$out/log_row.ico" "$work/log16.png"
identify "$out/horavo.ico" "$out/log_row.ico"
