# Sourced by the scripts that run Windows programs: the environment of one private Wine prefix.
# CHRONEL_WINE_ARCH is win32 (the product's architecture) or win64; CHRONEL_WINEPREFIX names the prefix
# (default: the matching build's own). HOME lies beside the prefix, because Wine links the prefix's Desktop,
# Documents... folders to $HOME when it creates it. CHRONEL_WINE_LOCALE sets the locale, from which Wine takes
# the system's ANSI code page (C.UTF-8 gives 1252, ru_RU.UTF-8 1251); the Windows user's name, and so the
# profile folder C:\users\<name>, follows USER when the prefix is made.
. "$(dirname "${BASH_SOURCE[0]:-$0}")/lib.sh"
export CHRONEL_WINE_ARCH="${CHRONEL_WINE_ARCH:-win32}"
export WINEARCH="$CHRONEL_WINE_ARCH"
export WINEPREFIX="${CHRONEL_WINEPREFIX:-$chronel_root/build/$CHRONEL_WINE_ARCH/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL="${CHRONEL_WINE_LOCALE:-C.UTF-8}"
export HOME="$WINEPREFIX.home"
if [ "$CHRONEL_WINE_ARCH" = win64 ]; then
    WINE=/usr/lib/wine/wine64
    WINESERVER=/usr/lib/wine/wineserver64
else
    WINE=/usr/lib/wine/wine
    WINESERVER=/usr/lib/wine/wineserver32
fi
export WINE WINESERVER

# Creates the prefix once (about 10 s; 20-100 s where 32-bit Wine runs under qemu) with Wine's virtual desktop, in which hiding windows and removing tray
# icons does not block and the taskbar with its notification area exists.
chronel_make_prefix() {
    [ -f "$WINEPREFIX/.chronel-ready" ] && return 0
    mkdir -p "$HOME" "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$WINEPREFIX/.chronel-ready" ] && exit 0
        rm -rf "$WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
        # Windows has Tahoma (the dialog's font) and Marlett (the caption buttons); this Wine does not find
        # its own copies by itself, and the stand-ins it picks are wider, which clips the captions.
        cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
        "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 </dev/null
        "$WINESERVER" -w
        touch "$WINEPREFIX/.chronel-ready"
    ) 9>"$WINEPREFIX.lock"
}

# Starts this prefix's server and its helpers once, so that they do not hold a caller's pipes open.
chronel_warm_prefix() {
    "$WINESERVER" -p
    "$WINE" cmd /c exit >/dev/null 2>&1 </dev/null
}

chronel_stop_prefix() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
}

# One Wine session, the stanza every script that runs Windows programs goes through: the prefix of ARCH on a
# private Xvfb display, made (afresh with --fresh) and warmed, COMMAND run inside with this environment, and
# the prefix's own server stopped afterwards. ARCH wow64 is the win64 prefix with COMMAND running the i686
# build under WoW64; 32-bit Wine goes through scripts/i386 (lib.sh's through_i386).
#   scripts/wine-env.sh session [--fresh] win32|win64|wow64 COMMAND ARGS...
chronel_wine_session() {
    local fresh=
    [ "$1" = --fresh ] && { fresh=1; shift; }
    local arch=$1
    shift
    through_i386 "$arch"
    CHRONEL_WINE_ARCH=${arch/wow64/win64} CHRONEL_WINE_FRESH=$fresh \
        CHRONEL_WINE_ENV="$chronel_root/scripts/wine-env.sh" "${i386[@]}" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        . "$CHRONEL_WINE_ENV"
        trap chronel_stop_prefix EXIT
        started=$SECONDS
        [ -z "$CHRONEL_WINE_FRESH" ] || rm -rf "$WINEPREFIX" "$WINEPREFIX.home"
        chronel_make_prefix && chronel_warm_prefix || exit 1
        [ -z "$CHRONEL_WINE_FRESH" ] || echo "(fresh prefix ready in $((SECONDS - started)) s)"
        unset CHRONEL_WINE_FRESH CHRONEL_WINE_ENV
        "$@"' wine-session "$@"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    [ "${1:-}" = session ] || { echo "usage: scripts/wine-env.sh session [--fresh] win32|win64|wow64 COMMAND..." >&2; exit 2; }
    shift
    chronel_wine_session "$@"
    exit
fi
