#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/*_fuzz.cpp) with clang, libFuzzer and the address and
# undefined-behaviour checks into build/fuzz, and runs each for SECONDS (default 60), or only
# the targets named. Each starts from its committed seeds (fuzz/corpus/<target>) and from what
# earlier runs found (build/fuzz/corpus/<target>, where new inputs go), with its dictionary when
# there is one. Prints one line per target with its executions; an input that makes a target
# fail is kept as build/fuzz/faults/<target>-... and ends the script with exit code 1.
# Exit code 3, after one line, when clang++ or libFuzzer is not installed.
# Usage: scripts/fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in fuzz/*_fuzz.cpp; do
        name=${source##*/}
        targets+=("${name%.cpp}")
    done
fi

probe='extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }'
if ! command -v clang++ >/dev/null ||
    ! printf '%s\n' "$probe" | clang++ -x c++ -fsanitize=fuzzer -o /dev/null - 2>/dev/null; then
    echo "fuzz: clang++ with libFuzzer is not installed (apt-get install clang libclang-rt-14-dev);" \
        "no fuzz target was run"
    exit 3
fi

if [ ! -f build/fuzz/CMakeCache.txt ]; then
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DSANITIZE=ON -DFUZZ=ON >/dev/null
fi
cmake --build build/fuzz -j"$(nproc)" --target "${targets[@]}" >/dev/null

mkdir -p build/fuzz/faults
status=0
total=0
for t in "${targets[@]}"; do
    mkdir -p "build/fuzz/corpus/$t"
    options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="build/fuzz/faults/$t-")
    [ -f "fuzz/$t.dict" ] && options+=(-dict="fuzz/$t.dict")
    corpora=("build/fuzz/corpus/$t")
    [ -d "fuzz/corpus/$t" ] && corpora+=("fuzz/corpus/$t")
    log="build/fuzz/$t.log"
    if "build/fuzz/fuzz/$t" "${options[@]}" "${corpora[@]}" >"$log" 2>&1; then
        result=ok
    else
        result="FAULT (see $log and build/fuzz/faults/)"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    total=$((total + ${runs:-0}))
    printf 'fuzz: %-22s %12s executions in %ss: %s\n' "$t" "${runs:-?}" "$seconds" "$result"
done
printf 'fuzz: %-22s %12s executions\n' "all" "$total"
exit $status
