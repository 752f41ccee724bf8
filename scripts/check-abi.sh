#!/usr/bin/env bash
# The library's binary interface against its baseline in abi/, with
# libabigail: a Release build with debug information, read by abidw as the
# baseline was, compared by abidiff. Any difference fails: an exported symbol
# added or removed, a function's type (its return type included), a
# variable's type, an exported class's size or layout.
#
# Usage: scripts/check-abi.sh <build folder> [--old-abi] [--update]
# --old-abi checks the old string ABI's flavour (-DQX_SYSEVENT_CXX11_ABI=OFF)
# against its own baseline, abi/libqx_sysevent-oldabi.abi. --update writes the
# baseline instead (make abi-baseline): only for a deliberate change of the
# interface.
set -euo pipefail

usage() {
    echo "usage: $0 <build folder> [--old-abi] [--update]" >&2
    exit 2
}
[ $# -ge 1 ] || usage
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
cxx11_abi=ON suffix= update=0
for arg; do
    case "$arg" in
    --old-abi) cxx11_abi=OFF suffix=-oldabi ;;
    --update) update=1 ;;
    *) usage ;;
    esac
done
baseline=$root/abi/libqx_sysevent$suffix.abi

# Source paths relative to the tree, so that the baseline does not depend on
# where it is checked out.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS=-g -fdebug-prefix-map=$root=." \
    -DQX_BUILD_TESTS=OFF -DQX_BUILD_EXAMPLES=OFF -DQX_BUILD_BENCH=OFF -DQX_BUILD_FUZZ=OFF \
    -DQX_SANITIZE= -DQX_SYSEVENT_CXX11_ABI=$cxx11_abi >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target qx_sysevent

current=$build/libqx_sysevent.abi
abidw --exported-interfaces-only --drop-undefined-syms --suppressions "$root/abi/std-types.suppr" \
    --no-architecture --no-corpus-path --no-comp-dir-path --no-show-locs --no-elf-needed \
    --type-id-style hash --out-file "$current" "$build/libqx_sysevent.so.1"

if [ $update = 1 ]; then
    cp "$current" "$baseline"
    echo "abi: new baseline $baseline ($(wc -l <"$baseline") lines); review and commit it"
    exit 0
fi
if ! abidiff "$baseline" "$current"; then
    echo "abi: the binary interface differs from $baseline (above)." >&2
    echo "abi: if the change is deliberate, take a new baseline with make abi-baseline" >&2
    exit 1
fi
echo "abi: the binary interface matches $baseline"
