#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the Windows tests under
# Wine, the platform-free parts natively with the address and undefined-behaviour checks, and
# a short run of every fuzz target when clang is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

status=0
# Every C and C++ source must be as clang-format leaves it with the committed .clang-format.
if ! find . \( -path ./build -o -path ./.git \) -prune -o \
        \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run --Werror; then
    echo "test: sources not formatted; run clang-format -i on the files above"
    status=1
fi

# Warnings fail the build here (the binary check runs among the Windows tests).
scripts/build.sh -DWERROR=ON
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON -DWERROR=ON >/dev/null
cmake --build build/native -j"$(nproc)"

. scripts/wine-env.sh
trap wine_stop EXIT
wine_prepare

ctest --test-dir build/native --output-on-failure || status=1
ctest --test-dir build/win --output-on-failure || status=1
# Each fuzz target for a few seconds; without clang and libFuzzer the script says so (code 3).
fuzz_status=0
scripts/fuzz.sh 3 || fuzz_status=$?
[ "$fuzz_status" -eq 0 ] || [ "$fuzz_status" -eq 3 ] || status=1
exit $status
