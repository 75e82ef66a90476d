# wine-env.sh: sourced by the scripts that run Windows programs under Wine.
# Sets a private prefix and quiet, Korean-locale Wine settings; creates the prefix once.
#   SR_WINEPREFIX  prefix folder (default /tmp/setradio-wine-$(id -u))
#   SR_WINE_LANG   locale of the Windows programs (default ko_KR.UTF-8: ANSI code page 949;
#                  C.UTF-8 gives code page 1252). Wine keeps a prefix's code page while its
#                  wineserver runs: give each locale its own prefix.
SR_SCRIPTS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
export WINEPREFIX="${SR_WINEPREFIX:-/tmp/setradio-wine-$(id -u)}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG="${SR_WINE_LANG:-ko_KR.UTF-8}"
export LC_ALL="$LANG"
export HOME="${SR_WINEHOME:-$WINEPREFIX.home}"
mkdir -p "$HOME"

# Creates the prefix with Korean font substitutes and a virtual desktop; safe to call often.
sr_wine_prefix() {
    if [ -f "$WINEPREFIX/.setradio-ready" ]; then return 0; fi
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.setradio-ready" ]; then
            wineboot -i >/dev/null 2>&1
            wineserver -w
            wine regedit "$SR_SCRIPTS/wine-settings.reg" >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.setradio-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
}

# Starts a private Xvfb when no display is set (screen SR_SCREEN, default 1024x768); exports DISPLAY.
sr_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    local fifo n
    fifo=$(mktemp -u /tmp/sr-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${SR_SCREEN:-1024x768}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    SR_XVFB_PID=$!
    read -r n <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$n"
}
