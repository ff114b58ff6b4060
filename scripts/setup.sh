#!/usr/bin/env bash
# Installs the Debian packages that building and testing need. Quick when all are there:
# apt is only asked when a package is missing. Further package names given as arguments are
# installed the same way (the screenshot script asks for its display and fonts so).
set -euo pipefail

packages=(
    g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
    wine wine32:i386 googletest cmake make g++ locales util-linux
    python3 clang-format
    "$@"
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
