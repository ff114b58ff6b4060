#!/usr/bin/env bash
# Shows the plug-in at work: runs the demo program under Wine on a virtual X display with
# Japanese fonts, and saves what the screen shows as docs/lumbra-demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh xvfb imagemagick fonts-wine fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation
scripts/build.sh >/dev/null

. scripts/wine-env.sh
# A prefix of its own: the test prefix draws nothing (no graphics driver), this one draws on X.
export WINEPREFIX="$PWD/build/wine-display"
if [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; then
    mkdir -p "$LOCPATH"
    localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || true
fi
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
output=${1:-docs/lumbra-demo.png}
mkdir -p "$(dirname "$output")"

xvfb-run -a -s "-screen 0 760x420x24" bash -s "$output" <<'INNER'
set -euo pipefail
if [ ! -f "$WINEPREFIX/.ready" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1 || true
    # The document asks for the fonts of a Japanese Windows; these Debian fonts stand in.
    for pair in "MS Gothic=IPAGothic" "MS Mincho=IPAMincho" "Arial=Liberation Sans" \
        "Times New Roman=Liberation Serif" "Courier New=Liberation Mono"; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" \
            /f </dev/null >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.ready"
fi
# A Wine desktop draws the window frame and caption that no window manager would draw here.
wine explorer /desktop=LumbraDemo,760x420 build/win/demo/lumbra_demo.exe 30 </dev/null \
    >/dev/null 2>&1 &
demo=$!
sleep 12
import -window root "$1"
kill "$demo" 2>/dev/null || true
wineserver -k || true
INNER
echo "screenshot: $output"
