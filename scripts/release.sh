#!/usr/bin/env bash
# Installs what is missing, builds, and packs the release archive
# build/release/eolfix-lumbra-<version>.zip (the version is the build's project version).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null
rm -rf build/release
cpack --config build/win/CPackConfig.cmake -B build/release >/dev/null
archive=$(ls build/release/eolfix-lumbra-*.zip)
echo "release: $archive ($(wc -c <"$archive") bytes)"
cmake -E tar tf "$archive"
