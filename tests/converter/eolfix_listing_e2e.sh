#!/usr/bin/env bash
# eolfix against its build with every pattern its own search, on tricky names (short names,
# dots, case, Shift-JIS, names the code page cannot hold), several masks, backups on: the same
# output bytes and the same tree. Usage: eolfix_listing_e2e.sh EOLFIX PER_PATTERN WORK ROOT
set -uo pipefail
work=$3
[ -n "${WINEPREFIX:-}" ] || { . "$4/scripts/wine-env.sh" && wine_prepare; }
export LC_ALL=ja_JP.UTF-8
rm -rf "$work" && trap 'rm -rf "$work"' EXIT
mkdir -p "$work/listing" "$work/searches" "$work/tree/"{plain/sub/ソフト,plain/dir.htm,odd,表}
cp "$1" "$work/listing/eolfix.exe" && cp "$2" "$work/searches/eolfix.exe"
for name in a.htm a.html B.HTM noext x.y.z.htm trail.htm. c.Htm.txt a.htmx 日本.htm 表.txt \
    é.htm README "a b.htm" 予定.TXT sub/s.txt sub/ソフト/d.html dir.htm/in.htm ../表/表.htm \
    ../odd/ㅎ.html ../odd/a.ç ../odd/.htm ../odd/a.htḿ ../odd/😀.txt ../odd/c.dàt ../odd/o.txt; do
    printf 'one\ntwo\rthree\r\r\n' >"$work/tree/plain/$name"
done
status=0
for mask in "*.txt;*.htm;*.html" "*;*.*" "*.HTML;*.c;a?.htm;*.htm;*.dat" "*.txt;sub\\*.txt;*."; do
    for build in listing searches; do
        printf 'filemask=%s\nbackup=.bak\n' "$mask" >"$work/$build/eolfix.ini"
        rm -rf "$work/run" "$work/$build.tree" && cp -a "$work/tree" "$work/run"
        (cd "$work/run" && timeout 120 wine "$work/$build/eolfix.exe" >"$work/$build.out" \
            </dev/null 2>/dev/null) && mv "$work/run" "$work/$build.tree" || status=1
    done
    grep -q 'convert: ' "$work/listing.out" && cmp "$work/listing.out" "$work/searches.out" &&
        diff -r "$work/listing.tree" "$work/searches.tree" || { echo "FAIL: $mask"; status=1; }
done
exit $status
