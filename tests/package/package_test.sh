#!/bin/sh
# Builds the release archive from the finished build, unpacks it into a fresh folder and works
# from there only: eolfix.exe converts a sample tree with the shipped eolfix.ini, Lumbra.hpi
# loads into a stand-in host, and the guides are in the form Windows users read.
#   package_test.sh <build folder> <package_check.exe> <version> <source folder>
set -eu
build=$1 check=$2 version=$3 source=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
fail() { echo "FAULT: $*"; exit 1; }

# Packed twice, more than a zip time's 2 s apart: the same bytes, PE headers of the release time.
for pack in out again; do
    [ "$pack" = out ] || sleep 3
    cpack --config "$build/CPackConfig.cmake" -B "$work/$pack" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack failed"; }
done
archive=$work/out/eolfix-lumbra-$version.zip
[ -f "$archive" ] || fail "no $archive"
cmp "$archive" "$work/again/eolfix-lumbra-$version.zip" || fail "two packs of one build differ"
release_time=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)}
mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$archive")
top=$work/unpacked/eolfix-lumbra-$version
contents=$(cd "$work/unpacked" && find . -type f | sort | tr '\n' ' ')
expected="./eolfix-lumbra-$version/LICENSE.txt ./eolfix-lumbra-$version/Lumbra.hpi \
./eolfix-lumbra-$version/eolfix.exe ./eolfix-lumbra-$version/eolfix.ini \
./eolfix-lumbra-$version/guide-en.txt ./eolfix-lumbra-$version/guide-ja.txt \
./eolfix-lumbra-$version/lumbra.as ./eolfix-lumbra-$version/sample.as "
[ "$contents" = "$expected" ] || fail "archive holds: $contents"
for program in eolfix.exe Lumbra.hpi; do
    header=$(od -An -tu4 -j60 -N4 "$top/$program" | tr -d ' ')
    stamp=$(od -An -tu4 -j$((header + 8)) -N4 "$top/$program" | tr -d ' ')
    [ "$stamp" = "$release_time" ] || fail "$program is stamped $stamp, not $release_time"
done
echo "archive $(wc -c <"$archive") bytes: $contents"

# CR LF only: once every CR LF pair is gone, no CR and no LF may be left.
for text in guide-ja.txt guide-en.txt LICENSE.txt eolfix.ini lumbra.as sample.as; do
    perl -0777 -ne 'exit(s/\r\n//gr =~ /[\r\n]/ ? 1 : 0)' "$top/$text" ||
        fail "$text has a line end other than CR LF"
done
iconv -f SHIFT_JIS -t UTF-8 "$top/guide-ja.txt" >"$work/guide-ja.utf8" ||
    fail "guide-ja.txt does not decode as Shift-JIS"
grep -q '改行コード' "$work/guide-ja.utf8" || fail "guide-ja.txt holds no Japanese text"
for script in lumbra.as sample.as; do
    iconv -f SHIFT_JIS -t UTF-8 "$top/$script" | grep -q 'コントロール' ||
        fail "$script does not decode as Shift-JIS with Japanese text"
done
for guide in guide-ja.txt guide-en.txt; do
    grep -q "$version" "$top/$guide" || fail "$guide does not name version $version"
done

# eolfix from the unpacked folder, in a tree of its own, with the shipped settings file.
tree=$work/tree
mkdir -p "$tree/sub"
printf 'one\ntwo\n' >"$tree/unix.txt"
printf 'mac\rline\r' >"$tree/sub/mac.htm"
printf 'keep\n' >"$tree/sub/other.md"
output=$(cd "$tree" && wine "$top/eolfix.exe" </dev/null) || fail "eolfix.exe ended with $?"
printf '%s\n' "$output" | tr -d '\r' | grep -qx 'convert 2 files\.' || fail "eolfix said: $output"
[ "$(od -An -c "$tree/unix.txt" | tr -d ' \n')" = 'one\r\ntwo\r\n' ] || fail "unix.txt not converted"
[ "$(od -An -c "$tree/sub/mac.htm" | tr -d ' \n')" = 'mac\r\nline\r\n' ] || fail "mac.htm not converted"
[ -f "$tree/unix.txt.bak" ] && [ -f "$tree/sub/mac.htm.bak" ] || fail "no backup copies"
[ "$(cat "$tree/sub/other.md")" = keep ] || fail "other.md was touched"

wine "$check" "Z:$(printf '%s' "$top" | tr / '\\')" "$version" </dev/null
echo "package test passed"
