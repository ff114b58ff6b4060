#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the Windows tests under
# Wine, the platform-free parts natively with the address and undefined-behaviour checks, and
# a short run of every fuzz target when clang is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON >/dev/null
cmake --build build/native -j"$(nproc)"

. scripts/wine-env.sh
trap wine_stop EXIT
wine_prepare

status=0
ctest --test-dir build/native --output-on-failure || status=1
ctest --test-dir build/win --output-on-failure || status=1
# Each fuzz target for a few seconds; without clang and libFuzzer the script says so (code 3).
fuzz_status=0
scripts/fuzz.sh 3 || fuzz_status=$?
[ "$fuzz_status" -eq 0 ] || [ "$fuzz_status" -eq 3 ] || status=1
exit $status
