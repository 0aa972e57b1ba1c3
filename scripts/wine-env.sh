# Sourced by every script that runs Windows programs (POSIX sh): the
# environment of a Wine prefix for one Windows tree, as on the client's
# machines (code page 936), and the creation of that prefix.
#
#   . scripts/wine-env.sh
#   qv_wine_env win32|win64 PREFIX   exports WINEPREFIX and the rest, sets QV_WINE
#   qv_wine_prefix [SETUP_COMMAND]   creates the prefix once; concurrent callers wait
#   $QV_WINE program.exe ...         runs a program of that tree
#
# The win32 tree runs under 32-bit Wine, the win64 tree under 64-bit Wine.
# wineboot and winepath are wrappers that start 32-bit Wine, so both trees
# start them through $QV_WINE ("$QV_WINE wineboot", "$QV_WINE winepath").
# QV_SCRIPTS names this folder when the caller lives elsewhere.

QV_SCRIPTS="${QV_SCRIPTS:-$(cd "$(dirname "$0")" && pwd)}"

qv_wine_env() {
    case "$1" in
        win32) QV_WINE=/usr/lib/wine/wine ;;
        win64) QV_WINE=/usr/lib/wine/wine64 ;;
        *) echo "wine-env: unknown tree $1" >&2; return 2 ;;
    esac
    export QV_WINE WINEARCH="$1" WINEPREFIX="$2"
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LC_ALL=zh_CN.UTF-8
    # Some Wine programs start others through the loader named here.
    export WINELOADER="$QV_WINE"
}

# Creates $WINEPREFIX with Wine's frame font (title-bar glyphs), then runs
# SETUP_COMMAND (registry settings of the caller) inside it. The prefix counts
# as ready only when all of that succeeded.
qv_wine_prefix() {
    [ -f "$WINEPREFIX/.ready" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$WINEPREFIX/.ready" ] && exit 0
        rm -rf "$WINEPREFIX"
        timeout 300 "$QV_WINE" wineboot -i >/dev/null 2>&1 || exit 1
        if [ $# -gt 0 ]; then "$@" || exit 1; fi
        timeout 120 wineserver -w || exit 1
        "$QV_SCRIPTS/wine-frame-font" "$WINEPREFIX" || exit 1
        touch "$WINEPREFIX/.ready"
    ) 9>"$WINEPREFIX.lock"
}
