#!/usr/bin/env bash
# Cross-builds eolfix.exe, Lumbra.hpi and the Windows tests into build/win (Release: the
# shipped files are stripped, each with a .symbols copy beside it). Arguments are CMake
# settings for the build folder, for example -DWERROR=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
# The toolchain is fixed when the build folder is first made; naming it again draws a warning.
if [ ! -f build/win/CMakeCache.txt ]; then
    cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=toolchain/mingw-i686.cmake \
        -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
elif [ $# -gt 0 ]; then
    cmake -S . -B build/win "$@" >/dev/null
fi
cmake --build build/win -j"$(nproc)"
