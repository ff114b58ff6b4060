#!/usr/bin/env bash
# eolfix against its build with the matcher turned off (every pattern its own system search):
# a tree of tricky names (short names, .html under *.htm, several, leading and trailing dots,
# letter case, Shift-JIS names, names the code page cannot hold or gives a look-alike for),
# under several masks, backups on. Both must print the same bytes and leave the same tree.
# Usage: eolfix_listing_e2e.sh EOLFIX_EXE PER_PATTERN_EXE WORK_FOLDER SOURCE_ROOT
set -uo pipefail
work=$3
if [ -z "${WINEPREFIX:-}" ]; then
    . "$4/scripts/wine-env.sh"
    wine_prepare
fi
export LC_ALL=ja_JP.UTF-8
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/listing" "$work/searches"
cp "$1" "$work/listing/eolfix.exe"
cp "$2" "$work/searches/eolfix.exe"

tree="$work/pristine"
mkdir -p "$tree/plain/sub/ソフト" "$tree/plain/dir.htm" "$tree/odd" "$tree/表"
for name in a.htm a.html B.HTM noext x.y.z.htm trail.htm. c.Htm.txt a.htmx 日本.htm 表.txt \
    é.htm README "a b.htm" 予定.TXT sub/s.txt sub/ソフト/d.html dir.htm/in.htm; do
    printf 'one\ntwo\rthree\r\r\n' >"$tree/plain/$name"
done
printf 'done\r\n' >"$tree/plain/ok.txt"
for name in ㅎ.html a.ç .htm a.htḿ 😀.txt c.dàt plain.txt; do
    printf 'x\ny\n' >"$tree/odd/$name"
done
printf 'k\n' >"$tree/表/表.htm"

failures=0
for mask in "*.txt;*.htm;*.html" "*;*.*" "*.HTML;*.c;a?.htm;*.htm;*.dat" "*.txt;sub\\*.txt;*."; do
    for build in listing searches; do
        printf 'filemask=%s\nbackup=.bak\n' "$mask" >"$work/$build/eolfix.ini"
        rm -rf "$work/run"
        cp -a "$tree" "$work/run"
        (cd "$work/run" && timeout 120 wine "$work/$build/eolfix.exe" </dev/null \
            >"$work/out.$build" 2>/dev/null) || { echo "FAIL: $mask: $build exited $?"; failures=$((failures + 1)); }
        rm -rf "$work/tree.$build"
        mv "$work/run" "$work/tree.$build"
    done
    grep -q 'convert: ' "$work/out.listing" || { echo "FAIL: $mask: nothing converted"; failures=$((failures + 1)); }
    cmp -s "$work/out.listing" "$work/out.searches" ||
        { echo "FAIL: $mask: output differs"; diff "$work/out.listing" "$work/out.searches" | cat -v; failures=$((failures + 1)); }
    diff -r "$work/tree.listing" "$work/tree.searches" ||
        { echo "FAIL: $mask: trees differ"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] && echo "listing and per-pattern searches agree"
exit $((failures != 0))
