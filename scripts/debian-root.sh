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
#   scripts/debian-root.sh unpack <empty folder>
#       Unpacks the root there, with the kept downloads in its apt cache.
#   scripts/debian-root.sh chroot <unpacked root> <command> [args...]
#       Runs the command chrooted into the root, as root, with a clean
#       environment and /proc, /sys and /dev mounted. The mounts live in a
#       mount namespace and the processes in a PID namespace of their own:
#       when the command ends, or this process is killed, every process and
#       every mount goes with it.
#   scripts/debian-root.sh keep-downloads <unpacked root>
#       Keeps what the root's apt downloaded for the next unpack, and drops
#       the kept packages that its apt cleaned out as outdated.
#   scripts/debian-root.sh remove <unpacked root>
#       Deletes it; any mount under it is taken down first, and a mount that
#       stays keeps the folder.
#
# Each root has an apt cache of its own (apt locks it while it downloads, so
# roots in use at the same time cannot share one); the kept downloads are
# linked into it and back. Needs root and debootstrap; `tarball` goes through
# sudo when it has to make the tarball, and needs neither when it exists. QX_ROOT_CACHE (default
# /var/cache/qx-sysevent) holds the tarball and the kept downloads; delete the
# tarball to start again from the mirror.
set -euo pipefail

suite=bookworm
cache=$(realpath -m -- "${QX_ROOT_CACHE:-/var/cache/qx-sysevent}")
kept=$cache/apt-archives
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
    cp --remove-destination /etc/resolv.conf "$root/etc/resolv.conf"
    # exec: whoever holds this process's id holds unshare, whose death takes
    # the PID namespace (and with it every process inside) along.
    # shellcheck disable=SC2016 # expanded by the inner shell
    exec unshare --mount --propagation private --pid --fork --kill-child -- \
        bash -euc '
            root=$1
            shift
            mount -t proc proc "$root/proc"
            mount --rbind /sys "$root/sys"
            mount --rbind /dev "$root/dev"
            exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 \
                PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
        ' bash "$root" "$@"
}

make_tarball() {
    repositories=$(debian_repositories)
    local mirror
    mirror=$(awk -v suite="$suite" '$2 == suite { print $1; exit }' <<<"$repositories")
    [ -n "$mirror" ] ||
        fail "this machine's apt knows no Debian $suite repository (run apt-get update first)"
    command -v debootstrap >/dev/null || fail "debootstrap is missing (make deps installs it)"

    build=$(mktemp -d "$cache/build.XXXXXX")
    trap 'remove_root "$build"' EXIT
    say "debootstrap --variant=minbase $suite from $mirror into $build"
    # debootstrap mounts /proc and /sys into the new root: in a mount
    # namespace of its own, they go when it ends, however it ends.
    unshare --mount --propagation private -- \
        debootstrap --variant=minbase "$suite" "$build/root" "$mirror" >&2
    write_sources "$build/root"
    say "applying $(awk '{ print $2 }' <<<"$repositories" | sort -u | paste -sd' ')"
    # Should this shell be killed, the kernel ends the chroot's processes.
    setpriv --pdeathsig KILL -- "$0" chroot "$build/root" bash -euc '
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get dist-upgrade -y -qq
        apt-get clean
        rm -rf /var/lib/apt/lists/*
    ' >&2
    tar --numeric-owner -C "$build/root" -czf "$build/root.tar.gz" .
    mv "$build/root.tar.gz" "$tarball"
    say "made $tarball ($(du -h "$tarball" | cut -f1))"
}

lock_cache() {
    mkdir -p "$cache" "$kept"
    exec 9>"$cache/.lock"
    flock 9
}

# Mount points under a folder, deepest first, as this mount namespace sees them.
mounts_under() {
    awk -v under="$1/" 'index($5, under) == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

# Deletes a root, after taking down any mount that reached this namespace; a
# mount that stays keeps the folder, rather than deleting through it.
remove_root() {
    local root
    root=$(realpath -m -- "$1")
    mounts_under "$root" | xargs -r -n1 umount -l
    if [ -n "$(mounts_under "$root")" ]; then
        say "mounts left under $root, not deleting it"
        return 1
    fi
    rm -rf --one-file-system "$root"
}

tarball_path() {
    # A tarball in place is complete (it is moved there whole): reading it
    # needs no root.
    if [ -r "$tarball" ]; then
        echo "$tarball"
        return
    fi
    if [ "$(id -u)" -ne 0 ]; then
        say "making $tarball needs root (debootstrap): through sudo"
        exec sudo -- "$0" tarball
    fi
    # One maker at a time; the others wait for its tarball.
    lock_cache
    [ -f "$tarball" ] || make_tarball
    echo "$tarball"
}

# copy_packages <from> <to>: the packages named on stdin, linked where the
# two folders share a file system, else copied.
copy_packages() {
    local name
    while read -r name; do
        [ ! -e "$2/$name" ] || continue
        ln "$1/$name" "$2/$name" 2>/dev/null ||
            { cp "$1/$name" "$2/.$name.part" && mv "$2/.$name.part" "$2/$name"; }
    done
}

unpack_root() {
    local root=$1
    if [ ! -d "$root" ] || [ -n "$(ls -A "$root")" ]; then
        fail "$root is not an empty folder"
    fi
    (tarball_path) >/dev/null
    say "unpacking $tarball into $root"
    tar -C "$root" -xzf "$tarball"
    lock_cache
    find "$kept" -maxdepth 1 -name '*.deb' -printf '%f\n' >"$root/.qx-kept-downloads"
    copy_packages "$kept" "$root/var/cache/apt/archives" <"$root/.qx-kept-downloads"
}

keep_downloads() {
    local root=$1 name
    local debs=$root/var/cache/apt/archives
    [ -f "$root/.qx-kept-downloads" ] || fail "$root was not unpacked by $0 unpack"
    lock_cache
    while read -r name; do
        [ -e "$debs/$name" ] || rm -f "$kept/$name"
    done <"$root/.qx-kept-downloads"
    find "$debs" -maxdepth 1 -name '*.deb' -printf '%f\n' | copy_packages "$debs" "$kept"
}

usage="usage: $0 tarball | unpack <empty folder> | chroot <unpacked root> <command> [args...]
       | keep-downloads <unpacked root> | remove <unpacked root>"
case "${1:-}" in
tarball) tarball_path ;;
unpack)
    [ $# -eq 2 ] || fail "$usage"
    unpack_root "$2"
    ;;
chroot)
    [ $# -ge 3 ] || fail "$usage"
    shift
    run_chroot "$@"
    ;;
keep-downloads)
    [ $# -eq 2 ] || fail "$usage"
    keep_downloads "$2"
    ;;
remove)
    [ $# -eq 2 ] || fail "$usage"
    remove_root "$2"
    ;;
*)
    echo "$usage" >&2
    exit 2
    ;;
esac
