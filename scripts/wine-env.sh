# Sourced by the run and test scripts: a Wine prefix inside the build tree, the Japanese code
# page (932) and a compiled ja_JP.UTF-8 locale so that Shift-JIS names survive the trip
# through Linux file names, and no graphics driver so that windows work without a display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$root/build/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$root/build/locale"
unset DISPLAY
# bash cannot load a locale from a LOCPATH set in its own run; its children can.
if [ -d "$LOCPATH/ja_JP.UTF-8" ]; then { export LC_ALL=ja_JP.UTF-8; } 2>/dev/null; fi

wine_prepare() {
    if [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; then
        mkdir -p "$LOCPATH"
        localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || true
    fi
    { export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
    if [ ! -f "$WINEPREFIX/.ready" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.ready"
    fi
    # A persistent server, detached from every pipe, so that each Wine start is quick and no
    # helper process keeps a reader of our output waiting.
    (wineserver -p </dev/null >/dev/null 2>&1 &)
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
}
