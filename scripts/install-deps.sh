#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the gates need, if any
# is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config
    libace-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-tidy clang-format
    valgrind binutils python3
    debhelper dpkg-dev fakeroot lintian autopkgtest uidmap
    abigail-tools doxygen
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
