#!/usr/bin/env bash
# make check-cross: the whole test suite and the packages on foreign 64-bit
# hosts, one throwaway Debian 12 root (mmdebstrap) per architecture, whose
# own dpkg gets the architecture; this machine's stays as it is. In each:
#
#   - debian/control's build and test dependencies for that architecture
#     (apt-get build-dep -a ARCH -P cross), with Debian's cross toolchain;
#   - a cross build of the library and every test, run by ctest under
#     qemu-user (CMAKE_CROSSCOMPILING_EMULATOR), expecting of the host the
#     tests run on the byte order Debian gives the architecture;
#   - dpkg-buildpackage -a ARCH -Pcross,nocheck, every package, and lintian
#     on them without errors or warnings.
#
# The tree is the working tree, as make-packages.sh copies it. Each root
# starts from a tarball of the last one, made by mmdebstrap and kept for a
# week in /var/cache/qx-sysevent (QX_ROOT_CACHE moves it; delete it to start
# again); apt updates its lists and adds what debian/control added since.
#
# Usage: scripts/check-cross.sh <log folder> [ARCH...]   (default: arm64 s390x)
# Needs root. JOBS (default 2) sets the builds' parallelism.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ $# -lt 1 ]; then
    echo "usage: $0 <log folder> [ARCH...]" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "check-cross: needs root (mmdebstrap): sudo make check-cross" >&2
    exit 1
fi
mkdir -p "$1"
logs=$(cd "$1" && pwd)
shift
arches=("$@")
[ ${#arches[@]} -gt 0 ] || arches=(arm64 s390x)
cache=${QX_ROOT_CACHE:-/var/cache/qx-sysevent}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ ! -e "$f" ] || printf '%s\0' "$f"; done |
    tar --null -T - -cf "$work/tree.tar")

# Runs inside the root as root: $1 the architecture, $2 the parallelism, $3
# when the root was begun (seconds since the epoch).
# shellcheck disable=SC2016 # expanded inside the root
inside='
arch=$1 jobs=$2
step() { echo "== check-cross ($arch): $*"; }
step "root made in $(($(date +%s) - $3)) s"
export DEBIAN_FRONTEND=noninteractive
triplet=$(dpkg-architecture -a "$arch" -qDEB_HOST_GNU_TYPE 2>/dev/null)
cpu=$(dpkg-architecture -a "$arch" -qDEB_HOST_GNU_CPU 2>/dev/null)
endian=$(dpkg-architecture -a "$arch" -qDEB_HOST_ARCH_ENDIAN 2>/dev/null)
start=$SECONDS
{ apt-get update -q && apt-get build-dep -q -y --no-install-recommends -a "$arch" -P cross /src; } \
    >/logs/build-dep.log 2>&1 ||
    { tail -n 30 /logs/build-dep.log; step "FAILED: apt-get build-dep"; exit 1; }
step "build dependencies installed in $((SECONDS - start)) s"

start=$SECONDS
cmake -S /src -B /build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_SYSTEM_NAME=Linux -DCMAKE_SYSTEM_PROCESSOR="$cpu" \
    -DCMAKE_CXX_COMPILER="$triplet-g++" -DPKG_CONFIG_EXECUTABLE="/usr/bin/$triplet-pkg-config" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="qemu-$cpu" -DQX_TEST_BYTE_ORDER="$endian" \
    >/logs/configure.log 2>&1 ||
    { tail -n 30 /logs/configure.log; step "FAILED: cmake"; exit 1; }
nice cmake --build /build -j "$jobs" >/logs/build.log 2>&1 ||
    { grep -E "error|FAILED" -A5 /logs/build.log | head -n 60; step "FAILED: the build"; exit 1; }
step "built in $((SECONDS - start)) s"
start=$SECONDS
if ! nice ctest --test-dir /build --output-on-failure -j "$jobs" >/logs/ctest.log 2>&1; then
    grep -E "Failed|\*\*\*|tests passed" -B2 -A20 /logs/ctest.log | head -n 120
    step "FAILED: ctest under qemu-$cpu"
    exit 1
fi
step "$(grep -Eo "[0-9]+% tests passed.*" /logs/ctest.log) under qemu-$cpu, $endian-endian, in $((SECONDS - start)) s"

start=$SECONDS
mkdir /pkg && cp -a /src /pkg/qx-sysevent
if ! (cd /pkg/qx-sysevent && nice dpkg-buildpackage -a "$arch" -Pcross,nocheck -us -uc \
        -J"$jobs") >/logs/package.log 2>&1; then
    tail -n 40 /logs/package.log
    step "FAILED: dpkg-buildpackage -a $arch -Pcross,nocheck"
    exit 1
fi
lintian --fail-on error,warning /pkg/*_"$arch".changes >/logs/lintian.log 2>&1 ||
    { cat /logs/lintian.log; step "FAILED: lintian"; exit 1; }
step "dpkg-buildpackage -a $arch -Pcross,nocheck built $(cd /pkg && ls -- *.deb | paste -sd" "), lintian clean, in $((SECONDS - start)) s"
'

for arch in "${arches[@]}"; do
    start=$SECONDS
    # Unpacked without syncing and without manual pages, translations or
    # package documentation, which nothing here reads.
    make_root=(--variant=minbase --architectures="$(dpkg --print-architecture),$arch"
        --include="crossbuild-essential-$arch,qemu-user,lintian"
        --dpkgopt=force-unsafe-io --dpkgopt="path-exclude=/usr/share/man/*"
        --dpkgopt="path-exclude=/usr/share/locale/*" --dpkgopt="path-exclude=/usr/share/doc/*")
    tarball=$cache/bookworm-cross-$arch-$(sha256sum <<<"${make_root[*]}" | cut -c1-12).tar
    if [ -n "$(find "$tarball" -mtime -7 2>/dev/null)" ]; then
        from=(--variant=custom --architectures="$(dpkg --print-architecture),$arch" --skip=update
            --setup-hook="tar-in $tarball /")
        target=/dev/null
    else
        mkdir -p "$cache"
        rm -f "$cache/bookworm-cross-$arch-"*.tar
        from=("${make_root[@]}" --format=tar) target=$tarball.part
    fi
    rm -rf "${logs:?}/$arch"
    mkdir -p "$logs/$arch"
    # The tarball keeps the root as the checks leave it, less the tree, the
    # builds and the logs.
    mmdebstrap --quiet "${from[@]}" \
        --customize-hook="mkdir \"\$1/src\" \"\$1/logs\"" \
        --customize-hook="tar-in $work/tree.tar /src" \
        --customize-hook="chroot \"\$1\" /usr/bin/env -i LANG=C.UTF-8 \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            bash -euo pipefail -c '$inside' bash $arch ${JOBS:-2} $(date +%s) \
            && touch \"\$1/logs/passed\" || true" \
        --customize-hook="sync-out /logs $logs/$arch" \
        --customize-hook="rm -rf \"\$1/src\" \"\$1/logs\" \"\$1/build\" \"\$1/pkg\"" \
        bookworm "$target"
    [ "$target" = /dev/null ] || mv "$target" "$tarball"
    [ -f "$logs/$arch/passed" ] || { echo "check-cross ($arch): FAILED, logs in $logs/$arch" >&2; exit 1; }
    echo "== check-cross ($arch): passed in $((SECONDS - start)) s"
done
