#!/usr/bin/env bash
# Builds and runs a process against an installed libqx_sysevent as users do,
# linking the library and the stand-in platform: once through find_package,
# once through pkg-config. Then checks that a program linking the library and
# no platform does not link.
#
# Usage: scripts/check-consumer.sh <prefix> <libdir> <work folder> [<run path>]
# The process is tests/load/load_test.cpp as it stands, built by
# tests/install_consumer/ with the CXXFLAGS of the environment. The processes
# run with <libdir>, then <run path> (folders such as a site's TAO), as
# LD_LIBRARY_PATH; the builds see neither. Used by check-install.sh,
# check-tao.sh and by the packages' autopkgtest.
set -euo pipefail

if [ $# -ne 3 ] && [ $# -ne 4 ]; then
    echo "usage: $0 <prefix> <libdir> <work folder> [<run path>]" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$1 libdir=$2 work=$3 run_path=$2${4:+:$4}
read -r -a cxxflags <<<"${CXXFLAGS:-}"

step() { echo "== check-consumer: $*"; }
fail() {
    echo "check-consumer: FAILED: $*" >&2
    exit 1
}
mkdir -p "$work"

step "find_package consumer"
cmake -S "$root/tests/install_consumer" -B "$work/cmake-consumer" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >/dev/null
found=$(sed -n 's/^qx_sysevent_DIR:PATH=//p' "$work/cmake-consumer/CMakeCache.txt")
[ "$found" = "$libdir/cmake/qx_sysevent" ] || fail "find_package found $found"
cmake --build "$work/cmake-consumer"
LD_LIBRARY_PATH=$run_path "$work/cmake-consumer/qx_install_consumer" ||
    fail "find_package consumer"

step "pkg-config consumer"
export PKG_CONFIG_PATH=$libdir/pkgconfig
for module in qx_sysevent qx_platform_standin; do
    found=$(pkg-config --variable=prefix "$module") || fail "pkg-config does not know $module"
    [ "$found" = "$prefix" ] || fail "pkg-config found $module in $found"
done
# The library before the platform: with --as-needed a platform named first
# is dropped.
read -r -a flags <<<"$(pkg-config --cflags --libs qx_sysevent qx_platform_standin)"
g++ -std=c++17 -Wall -Wextra -Werror "${cxxflags[@]}" "$root/tests/load/load_test.cpp" \
    "${flags[@]}" -o "$work/pkgconfig-consumer"
LD_LIBRARY_PATH=$run_path "$work/pkgconfig-consumer" || fail "pkg-config consumer"

step "a program that links the library and no platform does not link"
read -r -a flags <<<"$(pkg-config --cflags --libs qx_sysevent)"
if g++ -std=c++17 -x c++ - "${flags[@]}" -o "$work/no-platform" >"$work/no-platform.log" 2>&1 \
    <<<'#include "qx_sysevent/qx_sysevent.h"
int main() { return RegMDPMsgOfProReLoad(1, 2, 3, 4); }'; then
    fail "linked without a platform"
fi
grep -m1 "undefined reference to \`ZorvAppMgr::" "$work/no-platform.log" ||
    fail "the link error does not name the platform: $(cat "$work/no-platform.log")"

step "passed"
