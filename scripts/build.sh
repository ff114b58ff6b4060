#!/usr/bin/env bash
# Cross-builds eolfix.exe, Lumbra.hpi and the Windows tests into build/win.
set -euo pipefail
cd "$(dirname "$0")/.."
# The toolchain is fixed when the build folder is first made; naming it again draws a warning.
if [ ! -f build/win/CMakeCache.txt ]; then
    cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=toolchain/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build build/win -j"$(nproc)"
