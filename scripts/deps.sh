#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, only when missing.
set -euo pipefail

# clang with its sanitizer and libFuzzer runtimes builds src/core/ for this machine; Xvfb
# gives the two-monitor test its two screens.
packages=(cmake ninja-build make g++-mingw-w64-x86-64 wine wine64 googletest fonts-wine python3 openssl nsis
          clang libclang-rt-14-dev xvfb)
if [ "${1:-}" = "--run" ]; then
    packages+=(imagemagick fonts-wqy-microhei)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
