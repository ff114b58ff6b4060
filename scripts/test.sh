#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the Windows tests under
# Wine, and the platform-free parts natively with the address and undefined-behaviour checks.
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
exit $status
