#!/usr/bin/env bash
# A throwaway Debian 12 root, for checks that must start from a new machine.
#
#   scripts/debian-root.sh tarball
#       Makes sure the cached root exists and prints the tarball's absolute
#       path (progress goes to stderr). The root is debootstrap's minbase of
#       bookworm from the Debian mirror this machine's apt uses, with the
#       same bookworm suites (-updates, -security) configured and applied,
#       no package lists, and this machine's resolv.conf (as debootstrap
#       leaves it). Its members are named ./..., as
#       autopkgtest-virt-unshare --tarball expects.
#   scripts/debian-root.sh chroot <unpacked root> <command> [args...]
#       Runs the command chrooted into the root, as root, with a clean
#       environment, /proc, /sys, /dev and the shared download cache mounted.
#       The mounts live in a mount namespace and the processes in a PID
#       namespace of their own: when the command ends, or this process is
#       killed, every process and every mount goes with it.
#
# Needs root and debootstrap. QX_ROOT_CACHE (default /var/cache/qx-sysevent)
# holds the tarball and apt's downloaded packages, kept between runs; delete
# the tarball to start again from the mirror.
set -euo pipefail

suite=bookworm
cache=${QX_ROOT_CACHE:-/var/cache/qx-sysevent}
archives=$cache/apt-archives
tarball=$cache/debian-$suite-minbase-$(dpkg --print-architecture).tar.gz

say() { echo "debian-root: $*" >&2; }
fail() {
    say "$*"
    exit 1
}

# "<uri> <suite> <component>" for each Debian repository of $suite that this
# machine's apt is configured with (both sources formats, as apt reads them).
debian_repositories() {
    # shellcheck disable=SC2016 # apt's own placeholders
    apt-get indextargets --format '$(REPO_URI) $(CODENAME) $(COMPONENT)' \
        'Identifier: Packages' 'Origin: Debian' |
        awk -v suite="$suite" '($2 == suite || index($2, suite "-") == 1) && !seen[$0]++'
}

write_sources() {
    local root=$1 uri codename component
    rm -f "$root/etc/apt/sources.list"
    while read -r uri codename component; do
        printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: %s\n' "$uri" "$codename" "$component"
        printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n\n'
    done <<<"$repositories" >"$root/etc/apt/sources.list.d/debian.sources"
}

run_chroot() {
    local root
    root=$(cd "$1" && pwd)
    shift
    [ -x "$root/bin/sh" ] || fail "$root is not an unpacked root"
    mkdir -p "$archives"
    cp --remove-destination /etc/resolv.conf "$root/etc/resolv.conf"
    # exec: whoever holds this process's id holds unshare, whose death takes
    # the PID namespace (and with it every process inside) along.
    # shellcheck disable=SC2016 # expanded by the inner shell
    exec unshare --mount --propagation private --pid --fork --kill-child -- \
        bash -euc '
            root=$1 archives=$2
            shift 2
            mount -t proc proc "$root/proc"
            mount --rbind /sys "$root/sys"
            mount --rbind /dev "$root/dev"
            mount --bind "$archives" "$root/var/cache/apt/archives"
            exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
                PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
        ' bash "$root" "$archives" "$@"
}

make_tarball() {
    repositories=$(debian_repositories)
    local mirror
    mirror=$(awk -v suite="$suite" '$2 == suite { print $1; exit }' <<<"$repositories")
    [ -n "$mirror" ] ||
        fail "this machine's apt knows no Debian $suite repository (run apt-get update first)"
    command -v debootstrap >/dev/null || fail "debootstrap is missing (make deps installs it)"

    build=$(mktemp -d "$cache/build.XXXXXX")
    # The build's processes and mounts never outlive run_chroot, so the
    # folder is plain files when this removes it.
    trap 'rm -rf --one-file-system "$build"' EXIT
    say "debootstrap --variant=minbase $suite from $mirror into $build"
    mkdir -p "$archives"
    debootstrap --variant=minbase --cache-dir="$archives" "$suite" "$build/root" "$mirror" >&2
    # The packages stay in the shared cache, not in every unpacked root.
    find "$build/root/var/cache/apt" -type f -delete
    write_sources "$build/root"
    say "applying $(awk '{ print $2 }' <<<"$repositories" | sort -u | paste -sd' ')"
    ("$0" chroot "$build/root" bash -euc '
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get dist-upgrade -y -qq
        rm -rf /var/lib/apt/lists/*
    ') >&2
    tar --numeric-owner -C "$build/root" -czf "$build/root.tar.gz" .
    mv "$build/root.tar.gz" "$tarball"
    say "made $tarball ($(du -h "$tarball" | cut -f1))"
}

tarball_path() {
    [ "$(id -u)" -eq 0 ] || fail "needs root (debootstrap, chroot)"
    mkdir -p "$cache"
    # One maker at a time; the others wait for its tarball.
    exec 9>"$cache/.lock"
    flock 9
    [ -f "$tarball" ] || make_tarball
    echo "$tarball"
}

case "${1:-}" in
tarball) tarball_path ;;
chroot)
    [ $# -ge 3 ] || fail "usage: $0 chroot <unpacked root> <command> [args...]"
    shift
    run_chroot "$@"
    ;;
*)
    echo "usage: $0 tarball | chroot <unpacked root> <command> [args...]" >&2
    exit 2
    ;;
esac
