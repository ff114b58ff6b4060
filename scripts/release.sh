#!/usr/bin/env bash
# Installs what is missing, builds, and packs the release archive
# build/release/eolfix-lumbra-<version>.zip (the version is the build's project version). Every
# time in it is the last commit's (or SOURCE_DATE_EPOCH's), so one commit always gives the
# same archive (packaging/release_time.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh >/dev/null
rm -rf build/release
cpack --config build/win/CPackConfig.cmake -B build/release >/dev/null
archive=$(ls build/release/eolfix-lumbra-*.zip)
echo "release: $archive ($(wc -c <"$archive") bytes, sha256 $(sha256sum <"$archive" | cut -c1-64))"
cmake -E tar tf "$archive"
