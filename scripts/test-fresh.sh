#!/usr/bin/env bash
# make test-fresh: the README's two commands, `make test` then `make demo`,
# in a clean clone of this checkout's HEAD inside a fresh Debian 12 root to
# which nothing but make, git and ca-certificates was added. Proves that a new
# machine needs nothing that the project does not install itself.
#
# The root is unpacked from scripts/debian-root.sh's cached tarball under
# /var/tmp and deleted afterwards, however the run ends; what its apt
# downloaded is kept for the next run. Needs root.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
debian_root=$repo/scripts/debian-root.sh

if [ "$(id -u)" -ne 0 ]; then
    echo "test-fresh: needs root (debootstrap, chroot): sudo make test-fresh" >&2
    exit 1
fi

root=$(mktemp -d /var/tmp/qx-fresh-root.XXXXXX)
child=
cleanup() {
    if [ -n "$child" ]; then
        # unshare holds off TERM and INT while it waits for the root's
        # processes; its death by KILL takes their PID namespace along.
        kill -KILL "$child" 2>/dev/null || true
        wait "$child" 2>/dev/null || true
    fi
    if [ -f "$root/.qx-kept-downloads" ]; then
        "$debian_root" keep-downloads "$root" || true
    fi
    "$debian_root" remove "$root"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

"$debian_root" unpack "$root"
git -C "$repo" bundle create -q "$root/root/head.bundle" HEAD

# shellcheck disable=SC2016 # expanded inside the root
inside='
step() { echo "== test-fresh: $* ($SECONDS s)"; }
export DEBIAN_FRONTEND=noninteractive
step "in the fresh root: Debian $(cat /etc/debian_version), $(dpkg-query -W | wc -l) packages"
apt-get update -qq
apt-get install -y -qq --no-install-recommends make git ca-certificates >/dev/null
dpkg-query -W -f "\${Package}\n" | sort >/root/packages-before
step "added make, git, ca-certificates: $(dpkg-query -W | wc -l) packages"
git -c advice.detachedHead=false clone -q /root/head.bundle /root/libqx_sysevent
cd /root/libqx_sysevent
step "clean clone of $(git log -1 --format="%h %s")"
step "make test"
QX_THROWAWAY_ROOT=1 make test
step "make demo"
make demo
# The autopkgtest installs our own packages too; they are not dependencies.
dpkg-query -W -f "\${Package}\n" | sort | comm -13 /root/packages-before - |
  sed -e "/^libqx-sysevent/d" -e "/^libqx-platform-standin/d" >/root/packages-added
step "make deps installed $(wc -l </root/packages-added) packages:"
fold -s -w 100 <<<"$(paste -sd" " /root/packages-added)"
apt-get autoclean -qq
step "passed: make test and make demo on a fresh Debian 12"
'
# In a job of its own (its own process group, signals as they are), so that
# this shell's traps end it whatever signal ends the run; if this shell is
# killed outright, the kernel ends it (parent death signal).
set -m
setpriv --pdeathsig KILL -- "$debian_root" chroot "$root" bash -euo pipefail -c "$inside" &
child=$!
status=0
wait "$child" || status=$?
child=
exit "$status"
