#!/usr/bin/env bash
# make test-fresh: the README's two commands, `make demo` then `make test`,
# typed exactly as a user types them, in a clean clone of this checkout's HEAD,
# on a new machine: a fresh Debian 12 minbase root (mmdebstrap) with make, git
# and ca-certificates added and no package lists, entered with a plain chroot.
# Run once as root and once as a user who has sudo. For each command it prints
# the packages installed and the time taken. Then both run again from a
# clean build without a network, and must write nothing outside the clone
# (/etc/subuid, /etc/subgid and /var/cache included); and `make remove-deps`
# must take every package back. Needs root; the roots are thrown away.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

if [ "$(id -u)" -ne 0 ]; then
    echo "test-fresh: needs root (mmdebstrap): sudo make test-fresh" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git -C "$repo" bundle create -q "$work/head.bundle" HEAD

# Runs inside the root as root; $1 is the user who types the commands.
# shellcheck disable=SC2016 # expanded inside the root
inside='
user=$1
step() { echo "== test-fresh ($user): $*"; }
packages() { dpkg-query -W -f "\${db:Status-Abbrev} \${binary:Package}\n" | awk "\$1 == \"ii\" { print \$2 }"; }
if [ "$user" != root ]; then
    useradd --create-home --shell /bin/bash "$user"
    echo "$user ALL=(ALL) NOPASSWD: ALL" >/etc/sudoers.d/"$user"
fi
# A new machine has no package lists.
rm -rf /var/lib/apt/lists/*
apt-get clean
home=$(getent passwd "$user" | cut -d: -f6)
as_user() { runuser --login "$user" --command "cd ~/libqx_sysevent && $1"; }
runuser --login "$user" --command "git -c advice.detachedHead=false clone -q /head.bundle libqx_sysevent"
step "Debian $(cat /etc/debian_version), $(packages | wc -l) packages, clone of $(as_user "git log -1 --format=%h")"

mkdir /proof  # what the proof itself writes
packages | sort >/proof/before
for command in "make demo" "make test"; do
    step "$command"
    count=$(packages | wc -l)
    start=$SECONDS
    as_user "$command"
    step "$command: passed, $(($(packages | wc -l) - count)) packages installed, $((SECONDS - start)) s"
done
step "the packages they installed: $(packages | sort | comm -13 /proof/before - | paste -sd" ")"

# Once the packages are there, both run again without a network and write
# nothing outside the clone; as root from a clean build (the user builds the
# same, so an incremental run keeps CI short).
if [ "$user" = root ]; then
    as_user "make clean" >/dev/null
fi
touch /proof/stamp
start=$SECONDS
if ! unshare --net runuser --login "$user" --command \
    "cd ~/libqx_sysevent && make demo && make test" >/proof/again.log 2>&1; then
    tail -n 40 /proof/again.log
    step "FAILED: make demo and make test without a network"
    exit 1
fi
find / -xdev -newer /proof/stamp -type f,l -not -path "$home/libqx_sysevent/*" -not -path "/proof/*" \
    >/proof/written
if [ -s /proof/written ]; then
    step "FAILED: make demo and make test wrote outside the clone:"
    cat /proof/written
    exit 1
fi
step "again without a network: passed in $((SECONDS - start)) s, nothing written outside the clone"

as_user "make remove-deps" < <(yes) >/dev/null
if ! packages | sort | cmp -s /proof/before -; then
    step "FAILED: make remove-deps left these packages changed:"
    packages | sort | diff /proof/before - || true
    exit 1
fi
step "make remove-deps: back to the $(wc -l </proof/before) packages of before"
'

# The packages build with the first layer of build dependencies alone.
# shellcheck disable=SC2016 # expanded inside the root
lean='
export DEBIAN_FRONTEND=noninteractive
git -c advice.detachedHead=false clone -q /head.bundle /root/libqx_sysevent
cd /root/libqx_sysevent
apt-get build-dep -q -y --no-install-recommends -P nocheck ./ >/root/build-dep.log
if ! DEB_BUILD_PROFILES=nocheck dpkg-buildpackage -us -uc >/root/build.log 2>&1; then
    tail -n 40 /root/build.log
    echo "== test-fresh (packages): FAILED: DEB_BUILD_PROFILES=nocheck dpkg-buildpackage"
    exit 1
fi
echo "== test-fresh (packages): DEB_BUILD_PROFILES=nocheck dpkg-buildpackage -us -uc built" \
    $(cd .. && ls -- *.deb) "with the first layer alone, in $SECONDS s"
'

for user in root developer; do
    added=make,git,ca-certificates
    [ "$user" = root ] || added+=,sudo
    mmdebstrap --quiet --variant=minbase --include="$added" \
        --customize-hook="copy-in $work/head.bundle /" \
        --customize-hook="chroot \"\$1\" /usr/bin/env -i LANG=C.UTF-8 \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            bash -euo pipefail -c '$inside' bash $user" \
        bookworm /dev/null
done
mmdebstrap --quiet --variant=minbase --include=git,ca-certificates \
    --customize-hook="copy-in $work/head.bundle /" \
    --customize-hook="chroot \"\$1\" /usr/bin/env -i LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -euo pipefail -c '$lean'" \
    bookworm /dev/null
echo "== test-fresh: passed, as root and as a user with sudo; the packages built"
