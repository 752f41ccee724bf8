#!/usr/bin/env bash
# Installs a Release build into a fresh prefix and builds a small process
# against it as users do (scripts/check-consumer.sh). Also checks that neither
# the library nor its CMake target or .pc brings the stand-in, and that the
# library's CMake package loads from a prefix without the stand-in.
#
# The installed targets and .pc files carry the build's string ABI, and the
# installed qx-sysevent-check passes the process built against them.
#
# Usage: scripts/check-install.sh <build folder> [--old-abi]
# --old-abi checks the old string ABI's flavour (-DQX_SYSEVENT_CXX11_ABI=OFF).
# JOBS (default 2) sets the build's parallelism; KEEP_PREFIX=1 keeps the
# temporary prefix for a look after the run.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ] || { [ $# -eq 2 ] && [ "$2" != --old-abi ]; }; then
    echo "usage: $0 <build folder> [--old-abi]" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
cxx11_abi=ON abi_definition=_GLIBCXX_USE_CXX11_ABI=1
if [ $# -eq 2 ]; then
    cxx11_abi=OFF abi_definition=_GLIBCXX_USE_CXX11_ABI=0
fi
consumer_src=$root/tests/install_consumer

step() { echo "== check-install: $*"; }
fail() {
    echo "check-install: FAILED: $*" >&2
    exit 1
}

work=$(mktemp -d /tmp/qx-install-XXXXXX)
if [ "${KEEP_PREFIX:-0}" = 1 ]; then
    trap 'echo "check-install: kept $work"' EXIT
else
    trap 'rm -rf "$work"' EXIT
fi
prefix=$work/prefix

step "Release build in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQX_BUILD_TESTS=OFF -DQX_BUILD_EXAMPLES=OFF -DQX_BUILD_BENCH=OFF -DQX_BUILD_FUZZ=OFF \
    -DQX_SANITIZE= -DQX_SYSEVENT_CXX11_ABI=$cxx11_abi >/dev/null
cmake --build "$build" -j "${JOBS:-2}"

step "install, all components, into $prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
library=$(find "$prefix" -name libqx_sysevent.so.1 -print -quit)
[ -n "$library" ] || fail "libqx_sysevent.so.1 not installed"
libdir=$(dirname "$library")
for f in "$libdir"/libqx_sysevent.so "$libdir"/libqx_platform_standin.so.1 \
    "$prefix"/include/qx_sysevent/qx_sysevent.h "$prefix"/include/qx_standin/standin.h \
    "$libdir"/cmake/qx_sysevent/qx_sysevent-config.cmake \
    "$libdir"/pkgconfig/qx_sysevent.pc "$libdir"/pkgconfig/qx_platform_standin.pc \
    "$prefix"/bin/qx-sysevent-check; do
    [ -e "$f" ] || fail "not installed: ${f#"$prefix"/}"
done
# An installed library must not look for its dependencies in the build tree,
# and brings no platform: neither it nor its CMake target or .pc names one.
if readelf -d "$libdir"/libqx_sysevent.so.1 | grep -Eq 'RPATH|RUNPATH|standin'; then
    fail "installed libqx_sysevent.so.1 keeps a run path or needs the stand-in"
fi
if grep -Eq '^(Requires|Libs).*standin' "$libdir"/pkgconfig/qx_sysevent.pc ||
    grep -q standin "$libdir"/cmake/qx_sysevent/qx_sysevent-targets*.cmake; then
    fail "qx_sysevent.pc or the qx_sysevent::qx_sysevent target brings the stand-in"
fi

step "the string ABI ($abi_definition) in every target and .pc a consumer uses"
for pc in qx_sysevent qx_platform_standin; do
    grep -q "^Cflags:.* -D$abi_definition\$" "$libdir/pkgconfig/$pc.pc" ||
        fail "$pc.pc: $(grep ^Cflags: "$libdir/pkgconfig/$pc.pc")"
done
for targets in qx_sysevent-targets.cmake qx_sysevent-platform-standin-targets.cmake; do
    grep -q "INTERFACE_COMPILE_DEFINITIONS \"$abi_definition\"" \
        "$libdir/cmake/qx_sysevent/$targets" || fail "$targets lacks $abi_definition"
done

"$root/scripts/check-consumer.sh" "$prefix" "$libdir" "$work"

step "qx-sysevent-check, as installed, on the process built against it"
LD_LIBRARY_PATH=$libdir "$prefix/bin/qx-sysevent-check" \
    "$work/cmake-consumer/qx_install_consumer" ||
    fail "qx-sysevent-check refuses the process built against the installed library"

step "CMake package without the stand-in"
cmake --install "$build" --prefix "$work/library-only" --component runtime >/dev/null
cmake --install "$build" --prefix "$work/library-only" --component development >/dev/null
[ -z "$(find "$work/library-only" -name 'libqx_platform_standin*' -print -quit)" ] ||
    fail "the stand-in is installed with the library's components"
cmake -S "$consumer_src" -B "$work/library-only-consumer" -G Ninja \
    -DCMAKE_PREFIX_PATH="$work/library-only" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF \
    -DQX_CONSUMER_WITHOUT_STANDIN=ON >/dev/null || fail "package without the stand-in"

step "passed"
