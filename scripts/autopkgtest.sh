#!/usr/bin/env bash
# Runs the packages' autopkgtest (debian/tests) on the packages and the source
# package that make-packages.sh left in <package folder>, in a Debian 12 root
# that is thrown away afterwards: autopkgtest's unshare backend, on a minbase
# root that mmdebstrap makes once into /var/cache/qx-sysevent (QX_ROOT_CACHE),
# with the bookworm-updates and bookworm-security suites.
#
# Usage: scripts/autopkgtest.sh <package folder>
# The log and artifacts go to <package folder>/autopkgtest.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 <package folder>" >&2
    exit 2
fi
out=$(cd "$1" && pwd)

debs=("$out"/*.deb)
dsc=("$out"/*.dsc)
[ -e "${debs[0]}" ] && [ ${#dsc[@]} -eq 1 ] && [ -e "${dsc[0]}" ] ||
    { echo "autopkgtest: no packages in $out (make package)" >&2; exit 1; }
# autopkgtest-virt-unshare maps the testbed's ids onto the caller's
# subordinate ids (unshare --map-auto). Debian gives those to the users that
# useradd makes, never to root: root gets a free range of its own, once.
give_root_subordinate_ids() {
    if [ "$(id -u)" -ne 0 ] || grep -q '^root:' /etc/subuid 2>/dev/null; then
        return
    fi
    local first last
    first=$(cat /etc/subuid /etc/subgid 2>/dev/null |
        awk -F: 'BEGIN { free = 100000 } $2 + $3 > free { free = $2 + $3 } END { print free }')
    last=$((first + 65535))
    echo "autopkgtest: giving root the subordinate ids $first-$last for the testbed"
    usermod --add-subuids "$first-$last" --add-subgids "$first-$last" root
}

cache=${QX_ROOT_CACHE:-/var/cache/qx-sysevent}
tarball=$cache/bookworm-minbase-$(dpkg --print-architecture).tar
if [ ! -f "$tarball" ]; then
    mkdir -p "$cache"
    mmdebstrap --quiet --variant=minbase --format=tar bookworm "$tarball.part"
    mv "$tarball.part" "$tarball"
fi
give_root_subordinate_ids
rm -rf "$out/autopkgtest"
# The root tarball carries no package lists (and may be older than the
# archive): --apt-upgrade updates them, and the testbed, before the test's
# dependencies are installed.
autopkgtest --apt-upgrade --output-dir "$out/autopkgtest" "${debs[@]}" "${dsc[0]}" -- \
    unshare --release bookworm --tarball "$tarball"
