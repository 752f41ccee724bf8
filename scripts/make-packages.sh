#!/usr/bin/env bash
# Builds the Debian packages with CPack and checks them without installing
# them on this machine: fields, contents, and a process built and run against
# the three packages unpacked into a scratch root (CMake and pkg-config).
#
# Usage: scripts/make-packages.sh <build folder> [<output folder>]
# The packages go to <output folder>, by default <build folder>/packages.
# JOBS (default 2) sets the build's parallelism.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 <build folder> [<output folder>]" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
out=${2:-$build/packages}

step() { echo "== make-packages: $*"; }
fail() {
    echo "make-packages: FAILED: $*" >&2
    exit 1
}

step "Release build in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQX_BUILD_TESTS=OFF -DQX_BUILD_EXAMPLES=OFF -DQX_BUILD_BENCH=OFF -DQX_BUILD_FUZZ=OFF \
    -DQX_SANITIZE= >/dev/null
cmake --build "$build" -j "${JOBS:-2}"

step "packages into $out"
mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/*.deb
(cd "$build" && cpack -G DEB -B "$out" --config CPackConfig.cmake)
rm -rf "$out/_CPack_Packages"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")-1
arch=$(dpkg --print-architecture)
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
libdir=usr/lib/$multiarch

# check_package <name> <Depends must contain...> -- <files that must be inside...>
check_package() {
    local name=$1 deb=$out/${1}_${version}_${arch}.deb
    shift
    [ -f "$deb" ] || fail "$name: no $(basename "$deb")"
    [ "$(dpkg-deb -f "$deb" Package)" = "$name" ] || fail "$name: wrong Package field"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "$name: wrong Version field"
    [ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "$name: no Maintainer"
    [ -n "$(dpkg-deb -f "$deb" Description)" ] || fail "$name: no Description"
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    while [ "$1" != -- ]; do
        [[ ", $depends," == *", $1"[\ ,]* ]] || fail "$name: Depends lacks $1: $depends"
        shift
    done
    shift
    local contents
    contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
    for file in "$@"; do
        grep -qx "./$file" <<<"$contents" || fail "$name: $file missing"
    done
    echo "$name $version: $(grep -vc '/$' <<<"$contents") files, Depends: $depends"
}

step "fields and contents"
check_package libqx-sysevent1 libqx-platform-standin libace-7.0.8 libstdc++6 -- \
    "$libdir/libqx_sysevent.so.1" "$libdir/libqx_sysevent.so.1.0.0"
check_package libqx-sysevent-dev libqx-sysevent1 -- \
    "$libdir/libqx_sysevent.so" \
    usr/include/qx_sysevent/{export,mdp_reload,qx_sysevent,svr_event,sys_event_mgr}.h \
    usr/include/qx_sysevent/{user_id_mgr,user_security_mgr}.h \
    "$libdir/cmake/qx_sysevent/qx_sysevent-config.cmake" \
    "$libdir/cmake/qx_sysevent/qx_sysevent-config-version.cmake" \
    "$libdir/cmake/qx_sysevent/qx_sysevent-targets.cmake" \
    "$libdir/pkgconfig/qx_sysevent.pc"
check_package libqx-platform-standin libace-7.0.8 -- \
    "$libdir/libqx_platform_standin.so" "$libdir/libqx_platform_standin.so.1" \
    "$libdir/libqx_platform_standin.so.1.0.0" \
    usr/include/qx_standin/{standin,app_mgr}.h usr/include/qx_platform/platform/qx_trace.h \
    "$libdir/cmake/qx_sysevent/qx_sysevent-platform-standin-targets.cmake" \
    "$libdir/pkgconfig/qx_platform_standin.pc"
if dpkg-deb --contents "$out/libqx-sysevent1_${version}_${arch}.deb" | grep -q 'include/\|\.so$'; then
    fail "libqx-sysevent1 carries development files"
fi

step "a process built against the unpacked packages"
scratch=$(mktemp -d /tmp/qx-install-deb-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
sysroot=$scratch/root
for deb in "$out"/*.deb; do
    dpkg-deb -x "$deb" "$sysroot"
done
consumer_src=$root/tests/install_consumer
cmake -S "$consumer_src" -B "$scratch/cmake-consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$sysroot/usr" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >/dev/null
cmake --build "$scratch/cmake-consumer" >/dev/null
LD_LIBRARY_PATH=$sysroot/$libdir "$scratch/cmake-consumer/qx_install_consumer" ||
    fail "CMake consumer of the packages"
# The .pc files name /usr; the sysroot variable points them at the scratch root.
flags=$(PKG_CONFIG_PATH=$sysroot/$libdir/pkgconfig PKG_CONFIG_SYSROOT_DIR=$sysroot \
    pkg-config --cflags --libs qx_sysevent qx_platform_standin) ||
    fail "pkg-config does not know the packaged modules"
read -r -a flags <<<"$flags"
g++ -std=c++17 -Wall -Wextra -Werror "$consumer_src/main.cpp" "${flags[@]}" \
    -Wl,-rpath-link,"$sysroot/$libdir" -o "$scratch/pkgconfig-consumer"
LD_LIBRARY_PATH=$sysroot/$libdir "$scratch/pkgconfig-consumer" ||
    fail "pkg-config consumer of the packages"

step "passed: $(cd "$out" && echo *.deb)"
