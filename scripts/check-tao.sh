#!/usr/bin/env bash
# Builds the library with -DQX_WITH_TAO=ON against the TAO-shaped
# installation of tests/tao/, as a site builds it against its own TAO, and
# checks that:
# - the library needs libTAO_PortableServer, and the stand-in leaves
#   TAO_POA_Initializer::init() to it;
# - the test suite passes;
# - each load program, and each installed consumer, runs TAO's init() once;
# - the installed CMake package and qx_sysevent.pc bring TAO's libraries:
#   the consumers link with nothing else pointing at them.
#
# Usage: scripts/check-tao.sh <build folder>
# JOBS (default 2) sets the build's parallelism.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 <build folder>" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "$1" && cd "$1" && pwd)
tao=$build/tao-prefix
prefix=$build/prefix

step() { echo "== check-tao: $*"; }
fail() {
    echo "check-tao: FAILED: $*" >&2
    exit 1
}
# once <program> [<libdir>]: runs it, which must pass having run TAO's
# init() once.
once() {
    local out calls
    out=$(LD_LIBRARY_PATH=${2:+$2:}$run_path "$1" 2>&1) || fail "$1: $out"
    calls=$(grep -c '^TAO_POA_Initializer::init() call' <<<"$out" || true)
    [ "$calls" = 1 ] || fail "$1 ran TAO's init() $calls times: $out"
    echo "$1: TAO's init() once"
}

step "TAO-shaped installation into $tao"
rm -rf "$tao" "$prefix"
cmake -S "$root/tests/tao" -B "$build/tao-shape" -G Ninja >/dev/null
cmake --build "$build/tao-shape" -j "${JOBS:-2}" >/dev/null
cmake --install "$build/tao-shape" --prefix "$tao" >/dev/null
# At run time TAO's libraries are on the loader's path, as a site's are.
run_path=$tao/lib

step "the library and the tests with -DQX_WITH_TAO=ON"
cmake -S "$root" -B "$build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQX_WITH_TAO=ON -DCMAKE_PREFIX_PATH="$tao" >/dev/null
cmake --build "$build/release" -j "${JOBS:-2}"
library=$build/release/libqx_sysevent.so.1
readelf -d "$library" | grep -F '(NEEDED)' | grep -F '[libTAO_PortableServer.so' ||
    fail "libqx_sysevent.so.1 does not need libTAO_PortableServer"
if nm -D --defined-only "$build/release/platform/libqx_platform_standin.so.1" |
    grep -F TAO_POA_Initializer; then
    fail "the stand-in defines TAO's POA initializer"
fi

step "the test suite"
LD_LIBRARY_PATH=$run_path ctest --test-dir "$build/release" --output-on-failure \
    -j "${JOBS:-2}"
for program in direct indirect dlopen; do
    once "$build/release/tests/load/$program"
done

step "installed, through the CMake package and pkg-config"
cmake --install "$build/release" --prefix "$prefix" >/dev/null
CXXFLAGS=-DQX_WITH_TAO "$root/scripts/check-consumer.sh" "$prefix" "$prefix/lib" \
    "$build/consumer" "$run_path"
once "$build/consumer/cmake-consumer/qx_install_consumer" "$prefix/lib"
once "$build/consumer/pkgconfig-consumer" "$prefix/lib"

step "passed"
