#!/usr/bin/env bash
# make deps: installs what debian/control's Build-Depends lists (the one list
# of what building, testing and packaging need) with apt-get build-dep, which
# brings build-essential too. Touches apt only when something is missing; uses
# sudo when not run as root. DEB_BUILD_PROFILES=nocheck leaves out the test
# and gate tools, as it does for dpkg-buildpackage.
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-checkbuilddeps is itself part of what gets installed (dpkg-dev).
if command -v dpkg-checkbuilddeps >/dev/null && dpkg-checkbuilddeps 2>/dev/null; then
    exit 0
fi

apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
if [ "$(id -u)" -ne 0 ]; then
    apt=(sudo "${apt[@]}")
fi
echo "make deps: installing the build dependencies of debian/control"
"${apt[@]}" update -qq
"${apt[@]}" build-dep -y -q --no-install-recommends ./
