#!/usr/bin/env bash
# End-to-end figures: eolfix (backups off) against unix2dos and against the I/O floor
# (io_floor.exe: the same walk, open, read, rewrite of the same bytes and close, converting
# nothing), each on a fresh copy of the same tree on tmpfs, side by side in one run. "floor1"
# searches each folder once, as eolfix does for the default mask; "floor" searches it once per
# pattern of the default mask and once for subfolders, as the per-pattern walk does.
# Corpora: 2,000 LF files of 2 to 64 KiB in 110 nested folders; 4 LF files of 64 MiB; the first
# corpus already in CR LF. Checks that eolfix and unix2dos leave identical trees and that the
# floor leaves its tree as it was, then prints the ratios per corpus. Each figure is the fastest
# of REPEAT runs: on a shared machine the other load only ever adds time.
# Usage: bash bench/e2e_bench.sh   (after scripts/build.sh; REPEAT=5 by default; as root it
# installs unix2dos from Debian's dos2unix package when missing). BEFORE=path/to/eolfix.exe
# also times that build of eolfix in the same rounds (it must leave the same trees) and prints
# its ratio to the floor, so that a change is measured side by side with what it replaces.
# Last, the peak memory (the largest resident set, as GNU time reports it) of eolfix, and of
# the BEFORE build, converting one LF file of 300 MB, and of floor1 reading and rewriting it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
repeat=${REPEAT:-5}
eolfix_exe=$root/build/win/converter/eolfix.exe
floor_exe=$root/build/win/bench/io_floor.exe
[ -f "$eolfix_exe" ] && [ -f "$floor_exe" ] || { echo "build first: scripts/build.sh"; exit 1; }
if ! command -v unix2dos >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends dos2unix >/dev/null
fi

. scripts/wine-env.sh
trap wine_stop EXIT
wine_prepare

work=$(mktemp -d /dev/shm/eolfix-bench.XXXXXX)
trap 'rm -rf "$work"; wine_stop' EXIT
mkdir -p "$work/bin"
cp "$eolfix_exe" "$floor_exe" "$work/bin/"
printf 'backup=off\n' >"$work/bin/eolfix.ini"
tools="eolfix floor floor1 unix2dos"
if [ -n "${BEFORE:-}" ]; then
    mkdir -p "$work/before"
    cp "$BEFORE" "$work/before/eolfix.exe"
    cp "$work/bin/eolfix.ini" "$work/before/"
    tools="eolfix before floor floor1 unix2dos"
fi

# The corpora, from a fixed seed: lines of 10 to 120 printable bytes.
python3 - "$work" <<'PY'
import os, random, sys
work = sys.argv[1]
rng = random.Random(2026)
def text(size):
    out, n = [], 0
    while n < size:
        line = bytes(rng.choice(b"abcdefghij klmnopqrstuvwxyz.,") for _ in range(rng.randint(10, 120)))
        out.append(line + b"\n"); n += len(line) + 1
    return b"".join(out)
pool = text(1 << 20)
small = os.path.join(work, "small")
for i in range(2000):
    folder = os.path.join(small, "d%d" % (i % 10), "e%d" % (i // 10 % 10))
    os.makedirs(folder, exist_ok=True)
    size = rng.randint(2048, 65536)
    start = rng.randrange(len(pool) - size)
    start = pool.index(b"\n", start) + 1
    name = "f%04d.%s" % (i, ("txt", "txt", "txt", "htm", "html")[i % 5])
    with open(os.path.join(folder, name), "wb") as f:
        f.write(pool[start:start + size])
crlf = os.path.join(work, "crlf")
for base, _, names in os.walk(small):
    target = os.path.join(crlf, os.path.relpath(base, small))
    os.makedirs(target, exist_ok=True)
    for name in names:
        with open(os.path.join(base, name), "rb") as f:
            data = f.read()
        with open(os.path.join(target, name), "wb") as f:
            f.write(data.replace(b"\n", b"\r\n"))
large = os.path.join(work, "large")
os.makedirs(large)
for i in range(4):
    parts = []
    for k in range(64):
        cut = pool.index(b"\n", rng.randrange(len(pool) - 256)) + 1
        parts.append(pool[cut:] + pool[:cut])
    with open(os.path.join(large, "big%d.txt" % i), "wb") as f:
        f.write(b"".join(parts)[: 64 << 20])
os.makedirs(os.path.join(work, "huge"))
with open(os.path.join(work, "huge", "one.txt"), "wb") as f:
    f.write((pool * 300)[:300000000])
PY

seconds() { date +%s.%N; }
# Times one tool on a fresh copy of corpus $1 into $work/run; the tree stays there.
time_tool() {
    local corpus=$1 tool=$2
    rm -rf "$work/run"
    cp -a "$work/$corpus" "$work/run"
    local start end
    start=$(seconds)
    case $tool in
    eolfix) (cd "$work/run" && wine "$work/bin/eolfix.exe" </dev/null >"$work/out" 2>&1) ;;
    before) (cd "$work/run" && wine "$work/before/eolfix.exe" </dev/null >"$work/out" 2>&1) ;;
    floor) (cd "$work/run" && wine "$work/bin/io_floor.exe" '*.txt' '*.htm' '*.html' \
        </dev/null >"$work/out" 2>&1) ;;
    floor1) (cd "$work/run" && wine "$work/bin/io_floor.exe" </dev/null >"$work/out" 2>&1) ;;
    unix2dos)
        (cd "$work/run" && find . -type f \( -name '*.txt' -o -name '*.htm' -o -name '*.html' \) \
            -print0 | xargs -0 unix2dos -q) ;;
    esac
    end=$(seconds)
    awk -v a="$end" -v b="$start" 'BEGIN { printf "%.4f\n", a - b }'
}
fastest() { sort -n | head -n 1; }

printf '%-6s %8s %8s %8s %8s %8s %14s %14s %13s %16s\n' corpus eolfix before floor1 floor \
    unix2dos eolfix/floor1 before/floor1 eolfix/floor eolfix/unix2dos
for corpus in small large crlf; do
    for tool in $tools; do : >"$work/times.$tool"; done
    for ((r = 0; r < repeat; ++r)); do
        # Every other round in another order, so that no tool always runs first.
        order=$tools
        ((r % 2)) && order="floor1 floor ${BEFORE:+before }eolfix unix2dos"
        for tool in $order; do
            time_tool "$corpus" "$tool" >>"$work/times.$tool"
            case $tool in
            eolfix) rm -rf "$work/by.eolfix"; mv "$work/run" "$work/by.eolfix" ;;
            before) diff -r -q "$work/by.eolfix" "$work/run" >/dev/null ||
                { echo "the two builds of eolfix differ on the $corpus tree"; exit 1; } ;;
            floor*) diff -r -q "$work/$corpus" "$work/run" >/dev/null ||
                { echo "io_floor changed the $corpus tree"; exit 1; } ;;
            unix2dos) diff -r -q "$work/by.eolfix" "$work/run" >/dev/null ||
                { echo "eolfix and unix2dos differ on the $corpus tree"; exit 1; } ;;
            esac
        done
    done
    e=$(fastest <"$work/times.eolfix"); f=$(fastest <"$work/times.floor")
    f1=$(fastest <"$work/times.floor1"); u=$(fastest <"$work/times.unix2dos")
    b=$([ -n "${BEFORE:-}" ] && fastest <"$work/times.before" || echo 0)
    awk -v c="$corpus" -v e="$e" -v b="$b" -v f="$f" -v f1="$f1" -v u="$u" 'BEGIN {
        if (b > 0) { before = sprintf("%7.3fs", b); ratio = sprintf("%.2f", b / f1) }
        else { before = "-"; ratio = "-" }
        printf "%-6s %7.3fs %8s %7.3fs %7.3fs %7.3fs %14.2f %14s %13.2f %16.2f\n", c, e, before,
            f1, f, u, e / f1, ratio, e / f, e / u }'
done
rm -rf "$work/run" "$work/by.eolfix" "$work/small" "$work/crlf" "$work/large"

# Peak memory for one 300 MB file: its size, and what each build held at most.
peak() {
    rm -rf "$work/run"
    cp -a "$work/huge" "$work/run"
    (cd "$work/run" && /usr/bin/time -f '%M' -o "$work/peak" wine "$1" </dev/null >/dev/null 2>&1)
    awk '{ printf "%.0f", $1 / 1024 }' "$work/peak"
}
line="peak memory, one file of 300 MB (286 MiB): eolfix $(peak "$work/bin/eolfix.exe") MiB"
[ -n "${BEFORE:-}" ] && line="$line, before $(peak "$work/before/eolfix.exe") MiB"
# The floor holds the one input block and Wine's own pages.
echo "$line, floor1 $(peak "$work/bin/io_floor.exe") MiB"
rm -rf "$work/run" "$work/huge"
