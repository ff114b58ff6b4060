#!/usr/bin/env bash
# eolfix.exe on trees that only the Linux side can stage: a read-only file and a read-only
# backup copy (as an unprivileged user, since Wine running as root writes anyway), a rewrite and
# a backup copy on a full file system (a tiny tmpfs, root only), a symbolic-link loop and a
# path past 260 characters, and the skip line of a file of 4 GiB or more and of 4 GiB - 1.
# Usage: eolfix_tree_e2e.sh EOLFIX_EXE WORK_FOLDER SOURCE_ROOT
set -uo pipefail
exe=$1
work=$2
source_root=$3
if [ "$(id -u)" -eq 0 ]; then
    # The unprivileged user must reach the tree, and a checkout below /root is closed to it.
    work="${TMPDIR:-/tmp}/eolfix-tree-e2e-$(printf '%s' "$work" | md5sum | cut -c1-12)"
fi
if [ -z "${WINEPREFIX:-}" ]; then
    . "$source_root/scripts/wine-env.sh"
    wine_prepare
fi
export LC_ALL=ja_JP.UTF-8

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
crlf() { printf '%s\r\n' "$@"; }

mounted=""
nobody_prefix=""
cleanup() {
    if [ -n "$mounted" ]; then umount "$mounted" 2>/dev/null || true; fi
    if [ -n "$nobody_prefix" ]; then
        as_nobody env WINEPREFIX="$nobody_prefix" wineserver -k >/dev/null 2>&1 || true
    fi
    chmod -R u+w "$work" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
rm -rf "$work"
mkdir -p "$work/bin"
cp "$exe" "$work/bin/eolfix.exe"

# Runs the copy in bin with the settings file $1 in folder $2; output in $work/out, code in rc.
run_in() {
    printf '%s\n' "$1" >"$work/bin/eolfix.ini"
    (cd "$2" && timeout 120 wine "$work/bin/eolfix.exe" </dev/null >"$work/out" 2>/dev/null)
    rc=$?
}

# Symbolic-link loop: the path limit ends it, and the files around it are still converted.
tree="$work/loop"
mkdir -p "$tree/sub"
printf 'a\n' >"$tree/a.txt"
printf 'b\n' >"$tree/sub/b.txt"
ln -s .. "$tree/sub/up"
run_in "backup=off" "$tree"
[ "$rc" -eq 0 ] || fail "link loop: exit code $rc"
tail -c 20 "$work/out" | grep -q 'convert 2 files\.' || fail "link loop: final count"
grep -q '^skip too long path : ' "$work/out" || fail "link loop: no refusal of the long path"

[ "$(cat "$tree/sub/b.txt")" = $'b\r' ] || fail "link loop: sub/b.txt not converted"

# Forty names of one file, listed one after another: each is opened while the close of the one
# before may still be out, and must find the file converted, as a visit after that close does.
tree="$work/hardlink"
mkdir -p "$tree"
printf 'one\ntwo\n' >"$tree/a0.txt"
for i in $(seq 1 39); do ln "$tree/a0.txt" "$tree/a$i.txt"; done
run_in "backup=off" "$tree"
[ "$rc" -eq 0 ] && [ "$(wc -l <"$work/out")" -eq 4 ] && [ "$(grep -c '^convert: ' "$work/out")" -eq 1 ] &&
    grep -q '^convert 1 files\.' "$work/out" || fail "hard links: $(head -c 300 "$work/out")"
[ "$(cat "$tree/a39.txt")" = "$(crlf one two)" ] || fail "hard links: content"

# A path past 260 characters: refused with one line, and the walk goes on.
tree="$work/long"
deep="$tree/$(printf 'd%.0s' {1..60})/$(printf 'e%.0s' {1..60})/$(printf 'f%.0s' {1..60})"
mkdir -p "$deep"
long_name="$(printf 'n%.0s' {1..120}).txt"
printf 'x\n' >"$deep/$long_name"
printf 'y\n' >"$tree/z.txt"
run_in "backup=off" "$tree"
[ "$rc" -eq 0 ] || fail "long path: exit code $rc"
grep -qF "$(crlf "skip too long path : $(windows_path "$deep")\\$long_name")" "$work/out" ||
    fail "long path: no line for the long file path"
[ "$(cat "$deep/$long_name")" = "x" ] || fail "long path: the long file was touched"
grep -qF "$(crlf "convert: $(windows_path "$tree/z.txt")")" "$work/out" ||
    fail "long path: z.txt not converted"

# A sparse file of 5 GiB gets its skip line; a folder named like a pattern is no file but is
# walked.
tree="$work/skips"
mkdir -p "$tree/dir.txt"
truncate -s 5G "$tree/big.txt"
printf 'i\n' >"$tree/dir.txt/inner.txt"
run_in "backup=off" "$tree"
expected="$(crlf "file mask: *.txt;*.htm;*.html;" "$(windows_path "$tree")" \
    "skip too large file : big.txt" "$(windows_path "$tree/dir.txt")" \
    "convert: $(windows_path "$tree/dir.txt/inner.txt")" "convert 1 files.")"
[ "$(cat "$work/out")" = "$expected" ] || fail "skips: output differs"
rm -f "$tree/big.txt"

# A file of 4 GiB - 1 bytes passes the walk's size rule; the conversion refuses it with the same
# line as the walk's, the bare name.
tree="$work/edge"
mkdir -p "$tree"
truncate -s 4294967295 "$tree/edge.txt"
run_in "backup=off" "$tree"
expected="$(crlf "file mask: *.txt;*.htm;*.html;" "$(windows_path "$tree")" \
    "skip too large file : edge.txt" "convert 0 files.")"
[ "$(cat "$work/out")" = "$expected" ] || fail "4 GiB - 1: output differs"
rm -f "$tree/edge.txt"

# Read-only file and read-only backup copy: the system-error line, and the walk goes on.
as_nobody() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
    # Kept between runs: creating a prefix takes a while.
    nobody_prefix="$work.nobody-wine"
    as_nobody() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
fi
tree="$work/readonly"
mkdir -p "$tree" "${nobody_prefix:-$tree}"
printf 'r\n' >"$tree/r.txt"
printf 'b\n' >"$tree/b.txt"
printf 'old\n' >"$tree/b.txt.bak"
printf 'w\n' >"$tree/w.txt"
chmod 444 "$tree/r.txt" "$tree/b.txt.bak"
printf 'backup=.bak\n' >"$work/bin/eolfix.ini"
if [ -n "$nobody_prefix" ]; then
    chown -R 65534:65534 "$work" "$nobody_prefix"
    if [ ! -f "$nobody_prefix/.ready" ]; then
        as_nobody env HOME="$nobody_prefix" WINEPREFIX="$nobody_prefix" wineboot -i \
            </dev/null >/dev/null 2>&1
        as_nobody touch "$nobody_prefix/.ready"
    fi
fi
(cd "$tree" && as_nobody env HOME="${nobody_prefix:-$HOME}" WINEPREFIX="${nobody_prefix:-$WINEPREFIX}" \
    timeout 120 wine "$work/bin/eolfix.exe" </dev/null >"$work/out" 2>/dev/null)
rc=$?
[ "$rc" -eq 0 ] || fail "read-only: exit code $rc"
grep -qF "$(windows_path "$tree/r.txt") : " "$work/out" || fail "read-only: no line for r.txt"
grep -qF "$(windows_path "$tree/b.txt.bak") : " "$work/out" ||
    fail "read-only: no line for the read-only copy"
grep -qF "$(crlf "convert: $(windows_path "$tree/w.txt")")" "$work/out" ||
    fail "read-only: w.txt not converted"
grep -q 'convert 1 files\.' "$work/out" || fail "read-only: final count"
[ "$(cat "$tree/r.txt")" = "r" ] || fail "read-only: r.txt changed"
[ "$(cat "$tree/b.txt")" = "b" ] || fail "read-only: b.txt converted without its copy"
[ "$(cat "$tree/b.txt.bak")" = "old" ] || fail "read-only: the read-only copy changed"

# A full file system: a failed rewrite leaves the file byte-identical; so does a failed copy.
tree="$work/full"
mkdir -p "$tree"
if [ "$(id -u)" -ne 0 ] || ! mount -t tmpfs -o size=64k tmpfs "$tree" 2>/dev/null; then
    echo "SKIP: the disk-full cases need root to mount a tiny tmpfs"
else
    mounted="$tree"
    head -c 49152 /dev/zero | tr '\0' '\n' >"$work/lines"
    # The rewrite starts at the first changed byte: here after 16 KiB already in CR LF.
    { yes $'\r' | head -c 16384; head -c 36864 /dev/zero | tr '\0' '\n'; } >"$work/late"
    # An older copy (beside the file, in a relative backup folder) survives; no partial one stays.
    for content in lines late; do
        for ini in "backup=off" "backup=.bak" 'backup=bak\'; do
            rm -rf "${tree:?}"/*
            cp "$work/$content" "$tree/full.txt"
            older=$tree/other.dat
            case $ini in *.bak) older=$tree/full.txt.bak ;; *\\) older=$tree/bak/full.txt ;; esac
            mkdir -p "${older%/*}" && printf 'older copy\n' >"$older"
            run_in "$ini" "$tree"
            [ "$(cat "$older")" = "older copy" ] || fail "disk full ($content, $ini): older copy"
            [ "$(find "$tree" -type f | wc -l)" -eq 2 ] ||
                fail "disk full ($content, $ini): a partial copy was left"
            [ "$rc" -eq 0 ] || fail "disk full ($content, $ini): exit code $rc"
            cmp -s "$work/$content" "$tree/full.txt" ||
                fail "disk full ($content, $ini): the file changed"
            grep -q 'convert 0 files\.' "$work/out" || fail "disk full ($content, $ini): final count"
            grep -q "full\.txt.* : " "$work/out" || fail "disk full ($content, $ini): no failure line"
        done
    done
    # The space runs out after several slices of the rewrite have landed and the file has grown:
    # it goes back to its old bytes and its old size.
    umount "$tree" && mount -t tmpfs -o size=1m tmpfs "$tree"
    head -c 614400 /dev/zero | tr '\0' '\n' >"$work/slices"
    cp "$work/slices" "$tree/full.txt"
    run_in "backup=off" "$tree"
    [ "$rc" -eq 0 ] || fail "disk full (slices): exit code $rc"
    cmp -s "$work/slices" "$tree/full.txt" || fail "disk full (slices): the file changed"
    grep -q "full\.txt.* : " "$work/out" || fail "disk full (slices): no failure line"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- last output:"
    cat -v "$work/out"
    exit 1
fi
echo "all tree cases passed"
