#!/usr/bin/env bash
# qx-sysevent-check as a site runs it before the swap, against both flavours
# of the library as installed. The processes and the library they replace are
# built from the pinned declarations (tests/swap/), with each string ABI, once
# with debug information and once without and stripped, as production
# binaries are. For each flavour and each of those, the cases:
#   match            a process and a platform of the flavour: passes
#   other process    a process of the other ABI, with its platform: fails,
#                    naming what it needs and the flavour to install
#   other platform   a process of the flavour, its platform of the other ABI:
#                    fails, naming what the platform does not provide
#   extra symbol     a process that needs a call this build does not export:
#                    fails, naming it
#   run path         a process whose DT_RPATH finds the library being
#                    replaced: fails, naming where it loads it from
# and the match and the extra symbol again with --original.
#
# Usage: scripts/check-swap.sh <new-ABI build folder> <old-ABI build folder>
# Both built already (make build, make test-old-abi); they are installed into
# a temporary prefix each. CHECK_SWAP_LOG names a file for every output.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 <new-ABI build folder> <old-ABI build folder>" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
declare -A build=([new]=$1 [old]=$2) definition=([new]=1 [old]=0) other=([new]=old [old]=new)
log=${CHECK_SWAP_LOG:-/dev/null}

step() { echo "== check-swap: $*"; }
fail() {
    echo "check-swap: FAILED: $*" >&2
    exit 1
}
work=$(mktemp -d /tmp/qx-swap-XXXXXX)
trap 'rm -rf "$work"' EXIT
: >"$log"

for abi in new old; do
    prefix=$work/$abi/prefix
    cmake --install "${build[$abi]}" --prefix "$prefix" >/dev/null
    tool=$prefix/bin/qx-sysevent-check
    [ -x "$tool" ] || fail "cmake --install put no bin/qx-sysevent-check into $prefix"
    library=$(find "$prefix" -name libqx_sysevent.so.1 -print -quit)
    # The platform, in a folder of its own, as a site has it.
    mkdir -p "$work/$abi/platform"
    cp -L "$(dirname "$library")/libqx_platform_standin.so.1" "$work/$abi/platform/"
    for debug in with without; do
        out=$work/$abi/$debug
        mkdir -p "$out/original"
        flags=(-std=c++98 -D_GLIBCXX_USE_CXX11_ABI=${definition[$abi]} -I "$root/tests/swap")
        [ $debug = with ] && flags+=(-g)
        g++ "${flags[@]}" -shared -fPIC -Wl,-soname,libqx_sysevent.so.1 \
            "$root/tests/swap/original.cpp" -o "$out/original/libqx_sysevent.so.1"
        # extra needs the call this build lacks; rpath finds the original
        # through its DT_RPATH, as old linkers wrote it.
        declare -A variant_flags=([process]= [extra]=-DQX_PINNED_EXTRA
            [rpath]="-Wl,--disable-new-dtags -Wl,-rpath,$out/original")
        for variant in process extra rpath; do
            # shellcheck disable=SC2086 # the variant's flags are words
            g++ "${flags[@]}" ${variant_flags[$variant]} "$root/tests/swap/process.cpp" \
                -o "$out/$variant" -L "$out/original" -L "$work/$abi/platform" \
                -Wl,--no-as-needed -l:libqx_sysevent.so.1 -l:libqx_platform_standin.so.1
        done
        cp "$library" "$out/library.so.1"
        if [ $debug = without ]; then
            strip --strip-all "$out/process" "$out/extra" "$out/rpath"
            strip --strip-unneeded "$out/original/libqx_sysevent.so.1" "$out/library.so.1"
        fi
    done
done

# expect <exit status> <line it must print>... -- <qx-sysevent-check's
# arguments>, with PLATFORM set to the platform's folder.
expect() {
    local status=$1 lines=() output got=0 line
    shift
    while [ "$1" != -- ]; do
        lines+=("$1")
        shift
    done
    shift
    output=$(LD_LIBRARY_PATH=$PLATFORM "$@" 2>&1) || got=$?
    printf '\n$ LD_LIBRARY_PATH=%s %s\n%s\n' "$PLATFORM" "$*" "$output" >>"$log"
    [ $got = "$status" ] || fail "exit $got, not $status: $*"$'\n'"$output"
    for line in "${lines[@]}"; do
        grep -qF -- "$line" <<<"$output" || fail "no \"$line\" from: $*"$'\n'"$output"
    done
}

for abi in new old; do
    tool=$work/$abi/prefix/bin/qx-sysevent-check
    them=${other[$abi]}
    for debug in with without; do
        step "the $abi ABI's flavour, binaries $debug debug information"
        mine=$work/$abi/$debug theirs=$work/$them/$debug
        # The installed tool checks the library beside it; the stripped copy
        # is named.
        library=()
        [ $debug = without ] && library=(--library "$mine/library.so.1")
        PLATFORM=$work/$abi/platform expect 0 "ok: runs on this build" -- \
            "$tool" "${library[@]}" "$mine/process"
        PLATFORM=$work/$them/platform expect 1 "FAIL: needs CUserSecurityMgr::GetAllUser(" \
            "string ABI: process $them, platform $them" \
            "install the $them string ABI's flavour" -- \
            "$tool" "${library[@]}" "$theirs/process"
        PLATFORM=$work/$them/platform expect 1 \
            "FAIL: its platform does not provide NSQX_util::QXTrace2Str(" \
            "string ABI: process $abi, platform $them" "no flavour of the library serves both" -- \
            "$tool" "${library[@]}" "$mine/process"
        PLATFORM=$work/$abi/platform expect 1 \
            "FAIL: needs CUserSecurityMgr::GetManagedNE(std::" -- \
            "$tool" "${library[@]}" "$mine/extra"
        # With --original: abicompat compares the types when both libraries
        # have debug information.
        original=(--original "$mine/original/libqx_sysevent.so.1")
        compared=("abicompat: the types it uses from the original are the same")
        removed=("[D] 'method long int CUserSecurityMgr::GetManagedNE(")
        if [ $debug = without ]; then
            compared=("their types are not compared") removed=()
        fi
        PLATFORM=$work/$abi/platform expect 0 "${compared[@]}" -- \
            "$tool" "${library[@]}" "${original[@]}" "$mine/process"
        PLATFORM=$work/$abi/platform expect 1 \
            "exported by the original, not by this build: CUserSecurityMgr::GetManagedNE(" \
            "${removed[@]}" -- "$tool" "${library[@]}" "${original[@]}" "$mine/extra"
        # A run path ahead of LD_LIBRARY_PATH would keep the original.
        PLATFORM=$work/$abi/platform expect 1 \
            "FAIL: its run path (DT_RPATH) finds libqx_sysevent.so.1 as $mine/original/" -- \
            "$tool" "${library[@]}" "$mine/rpath"
        # Several processes: one failing fails the run.
        PLATFORM=$work/$abi/platform expect 1 "1 of 2 processes run on" -- \
            "$tool" "${library[@]}" "$mine/process" "$mine/extra"
    done
done
step "passed"
