#!/usr/bin/env bash
# Runs eolfix built with the failing allocation gate (failing_memory.cpp) over a small tree
# (nested folders, Shift-JIS names, a file large enough to make the output grow, backups on):
# once with no failure, to learn the output, the converted tree and the number of allocations
# N, then once for every n from 1 to N with the n-th allocation failing. Each of those runs must
# end normally (exit code 0, or 1 for a failure before the walk with one line and nothing
# touched), leave every file either converted as in the clean run or byte-identical to before
# (a converted one with its backup copy, no other new file), and print what the clean run
# printed with exactly one line added for the failure, short only of the lines of the path that
# failure names, with a final count that matches the convert lines; or, where the converter
# absorbed the failure, exactly what the clean run printed and made. Nothing here depends on how
# many blocks the converter takes, or where.
# Usage: eolfix_allocation_failure.sh EOLFIX_EXE WORK_FOLDER SOURCE_ROOT [MAX_RUNS]
set -uo pipefail
exe=$1
work=$2
source_root=$3
max_runs=${4:-100000}
if [ -z "${WINEPREFIX:-}" ]; then
    . "$source_root/scripts/wine-env.sh"
    wine_prepare
fi

failures=0
absorbed=0
fail() {
    echo "FAIL: n=$n: $*"
    failures=$((failures + 1))
}
# Windows paths reach the output in Shift-JIS; Linux names are UTF-8.
windows_path() { printf 'Z:%s' "${1//\//\\}" | iconv -f UTF-8 -t CP932; }

rm -rf "$work"
mkdir -p "$work/bin" "$work/pristine"
trap 'rm -rf "$work"' EXIT
cp "$exe" "$work/bin/eolfix.exe"
printf 'backup=.bak\n' >"$work/bin/eolfix.ini"

# The tree, in a folder whose name holds the kanji 95h 5Ch (a trail byte equal to '\').
tree="$work/pristine/表"
mkdir -p "$tree/sub/ソフト" "$tree/sub2/deeper"
printf 'a\nb\n' >"$tree/a.txt"
printf 'ok\r\n' >"$tree/b.htm"
printf 'x\ny\n' >"$tree/表.txt"
printf 'c\rd\r' >"$tree/sub/c.txt"
for i in $(seq 6000); do printf 'line\n'; done >"$tree/sub/ソフト/d.html"
printf 'e\n' >"$tree/sub2/e.txt"
printf 'f\n' >"$tree/sub2/f.dat"
printf 'g\n' >"$tree/sub2/deeper/予定.txt"
files=$(cd "$tree" && find . -type f | sort)

# Runs a fresh copy of the tree with allocation $1 failing: output in $work/out.$1, the tree in
# $work/run, exit code in rc, allocations made in made.
run_with() {
    rm -rf "$work/run"
    cp -a "$work/pristine" "$work/run"
    (cd "$work/run/表" && EOLFIX_FAIL_ALLOCATION=$1 timeout 60 wine "$work/bin/eolfix.exe" \
        </dev/null >"$work/out.$1" 2>"$work/err")
    rc=$?
    made=$(LC_ALL=C sed -n 's/^allocations: \([0-9]*\).*/\1/p' "$work/err")
}

export LC_ALL=C
n=0
LC_ALL=ja_JP.UTF-8 run_with 0
[ "$rc" -eq 0 ] && [ -n "$made" ] && [ "$made" -gt 0 ] || {
    fail "clean run: exit code $rc, allocations '${made}'"
    exit 1
}
total=$made
rm -rf "$work/clean"
mv "$work/run" "$work/clean"
clean_body=$(grep -av '^convert [0-9]* files\.' "$work/out.0")

# Tree check: each file converted as in the clean run (with its copy) or untouched; no other file.
check_tree() {
    local rel
    while IFS= read -r rel; do
        local now="$work/run/表/$rel" before="$tree/$rel" after="$work/clean/表/$rel"
        local line="convert: $(windows_path "$work/run/表/${rel#./}")"$'\r'
        if cmp -s "$now" "$before"; then
            if ! cmp -s "$before" "$after" && grep -qxF -- "$line" "$work/out.$n"; then
                fail "$rel untouched but reported as converted"
            fi
        elif cmp -s "$now" "$after"; then
            cmp -s "$now.bak" "$before" || fail "$rel converted without its backup copy"
            grep -qxF -- "$line" "$work/out.$n" || fail "$rel converted but not reported"
        else
            fail "$rel is neither as before nor converted"
        fi
    done <<<"$files"
    local extra
    extra=$(cd "$work/run/表" && find . -type f | sort | while IFS= read -r rel; do
        [ -f "$work/clean/表/$rel" ] || echo "$rel"
    done)
    [ -z "$extra" ] || fail "files that the clean run does not make: $extra"
}

# Output check: one added line "<path> : <text>"; lines missing only for that path or below it.
check_output() {
    local out="$work/out.$n" body changes added=() removed=() line
    body=$(grep -av '^convert [0-9]* files\.' "$out")
    changes=$(diff --old-line-format='-%L' --new-line-format='+%L' --unchanged-line-format='' \
        <(printf '%s\n' "$clean_body") <(printf '%s\n' "$body"))
    while IFS= read -r line; do
        case $line in
        +*) added+=("${line:1}") ;;
        -*) removed+=("${line:1}") ;;
        esac
    done <<<"$changes"
    if [ ${#added[@]} -ne 1 ]; then
        fail "${#added[@]} lines added instead of one: ${added[*]:-none}"
        return
    fi
    local failed=${added[0]%$'\r'}
    local path=${failed% : *}
    [ "$path" != "$failed" ] || fail "the added line names no path: $failed"
    for line in "${removed[@]}"; do
        line=${line%$'\r'}
        case $line in
        *"$path" | *"$path\\"*) ;;
        *) fail "line lost that does not concern $path: $line" ;;
        esac
    done
    local count
    count=$(grep -ac '^convert: ' "$out")
    grep -aqx "convert $count files\."$'\r' "$out" || fail "final count is not $count"
    [ "$(tail -c 1 "$out" | od -An -c | tr -d ' ')" = '\n' ] || fail "output does not end in a newline"
}

for n in $(seq 1 "$total"); do
    [ "$n" -le "$max_runs" ] || break
    LC_ALL=ja_JP.UTF-8 run_with "$n"
    [ "$made" -ge "$n" ] 2>/dev/null || fail "exit code $rc, allocations '${made}' (crashed?)"
    case $rc in
    0)
        # A failure that the converter absorbed (a smaller block taken instead of a rounded-up
        # one) leaves a run exactly like the clean one; anything less gets the full checks.
        if cmp -s "$work/out.$n" "$work/out.0" && diff -r "$work/clean" "$work/run" >/dev/null; then
            absorbed=$((absorbed + 1))
        else
            check_output
            check_tree
        fi
        ;;
    1)
        [ "$(wc -l <"$work/out.$n")" -eq 1 ] || fail "stopped before the walk with more than one line"
        diff -r "$work/pristine" "$work/run" >/dev/null || fail "stopped before the walk, tree changed"
        ;;
    *) fail "exit code $rc" ;;
    esac
    rm -f "$work/out.$n"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures failures over $total allocations"
    exit 1
fi
echo "all $total allocation failures handled ($absorbed absorbed by a retry)"
