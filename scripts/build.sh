#!/usr/bin/env bash
# Cross-builds eolfix.exe, Lumbra.hpi and the Windows tests into build/win.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=toolchain/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j"$(nproc)"
