# Sourced by the Wine scripts: the environment of every Wine run of a build folder, and its prefix.

# Usage: tempivo_wine_env BUILD_DIR [null|x11]
# null (the default) runs dialogs with no X server at all, the fastest way for tests; x11 draws on
# $DISPLAY, for people, screenshots and the tray. Each has a prefix of its own.
# The build's configure step wrote its architecture (win32 or win64) into the folder; it chooses
# the Wine loader, server and prefix kind, so a 64-bit build never meets 32-bit Wine.
# Afterwards "$TEMPIVO_WINE" and "$TEMPIVO_WINESERVER" are the commands to run.
tempivo_wine_env() {
    local build
    build=$(cd "$1" && pwd)
    TEMPIVO_WINE_DISPLAY=${2:-null}
    if [ "$TEMPIVO_WINE_DISPLAY" = null ]; then
        export WINEPREFIX="$build/wineprefix"
    else
        export WINEPREFIX="$build/wineprefix-$TEMPIVO_WINE_DISPLAY"
    fi
    WINEARCH=$(cat "$build/wine-arch" 2>/dev/null || echo win32)
    export WINEARCH
    if [ "$WINEARCH" = win64 ]; then
        TEMPIVO_WINE=/usr/lib/wine/wine64
        TEMPIVO_WINESERVER=/usr/lib/wine/wineserver64
    else
        TEMPIVO_WINE=/usr/lib/wine/wine
        TEMPIVO_WINESERVER=/usr/lib/wine/wineserver
    fi
    # Wine starts further programs (its background services) with this loader and server.
    export WINELOADER=$TEMPIVO_WINE
    export WINESERVER=$TEMPIVO_WINESERVER
    export WINEDEBUG=-all
    # A Japanese user's system: ANSI code page 932.
    export LANG=ja_JP.UTF-8
    export LC_ALL=ja_JP.UTF-8
    TEMPIVO_WINE_LOCK="$WINEPREFIX.lock"
}

# Makes the prefix once per build folder: Wine's first start takes seconds, every later one does not.
tempivo_wine_prefix() {
    [ -f "$WINEPREFIX/.tempivo-ready" ] && return 0
    (
        flock 9
        [ -f "$WINEPREFIX/.tempivo-ready" ] && exit 0
        rm -rf "$WINEPREFIX"
        # No Mono or Gecko installer dialogs while the prefix is made.
        # Each step may fail under a caller's "set -e" for a passing reason (a server that is
        # ending): whether a prefix was made is judged once, at the end, and said.
        WINEDLLOVERRIDES="mscoree,mshtml=" "$TEMPIVO_WINE" wineboot -i >/dev/null 2>&1 || true
        if [ "$TEMPIVO_WINE_DISPLAY" = null ]; then
            "$TEMPIVO_WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 || true
        fi
        # Wine's own fonts (Marlett draws the caption buttons) are not found where Debian puts them.
        cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        # The dialogs ask for the Japanese system fonts; the IPA fonts stand in for them.
        local font
        for font in "MS UI Gothic" "ＭＳ Ｐゴシック" "MS PGothic"; do
            "$TEMPIVO_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d IPAPGothic /f >/dev/null 2>&1 || true
        done
        for font in "ＭＳ ゴシック" "MS Gothic"; do
            "$TEMPIVO_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d IPAGothic /f >/dev/null 2>&1 || true
        done
        "$TEMPIVO_WINESERVER" -w || true
        [ -f "$WINEPREFIX/system.reg" ] || { echo "wine: no prefix could be made in $WINEPREFIX" >&2; exit 1; }
        touch "$WINEPREFIX/.tempivo-ready"
    ) 9>"$TEMPIVO_WINE_LOCK"
}

# Runs a command without the right to set the clock, when we are root and can drop it.
tempivo_without_clock_rights() {
    if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null 2>&1 &&
        setpriv --bounding-set -sys_time true 2>/dev/null; then
        setpriv --bounding-set -sys_time -- "$@"
    else
        "$@"
    fi
}
