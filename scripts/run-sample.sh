#!/usr/bin/env bash
# Installs what is missing, builds, and runs eolfix (with the default eolfix.ini beside it) on a
# small sample tree under build/sample; arguments are passed on to eolfix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null

. scripts/wine-env.sh
trap wine_stop EXIT
wine_prepare

sample=build/sample
rm -rf "$sample"
mkdir -p "$sample/docs/old"
printf 'first line\nsecond line\n' >"$sample/unix.txt"
printf 'old Mac line\rnext line\r' >"$sample/docs/mac.txt"
printf '<p>mixed</p>\r\n<p>newlines</p>\n' >"$sample/docs/page.html"
printf 'already Windows\r\n' >"$sample/docs/old/windows.txt"
printf 'not in the mask\n' >"$sample/notes.md"

echo "== eolfix $* in $sample"
status=0
(cd "$sample" && wine "$PWD/../win/converter/eolfix.exe" "$@") || status=$?
echo "== exit code $status; the files now (^M is CR, \$ ends a line at LF):"
(cd "$sample" && find . -type f | sort | while read -r f; do
    echo "-- $f"
    cat -A "$f"
    echo
done)
exit $status
