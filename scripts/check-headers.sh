#!/usr/bin/env bash
# check-headers.sh <c++ compiler> <standard> <work folder> <library> <platform>
#     <generated include folder> [flag...]
# As a process built to <standard> (98, 03, 11, 14, 17, 20, 23) with
# -Wall -Wextra -pedantic -Werror: every header of include/qx_sysevent alone,
# at C++14 every header of the stand-in alone, then
# tests/headers/old_standard_process.cpp built against <library> and
# <platform> and run.
# The flags (the library's interface definitions) go to every compile.
set -euo pipefail
cxx=$1 standard=$2 work=$3 library=$4 platform=$5 generated=$6
shift 6
root=$(cd "$(dirname "$0")/.." && pwd)
here=$root/tests/headers

std=c++$standard
# Compilers that predate the name know C++23 as c++2b.
if [ "$standard" = 23 ] && ! "$cxx" -std=c++23 -E -x c++ /dev/null >/dev/null 2>&1; then
    std=c++2b
fi
flags=(-std="$std" -Wall -Wextra -pedantic -Werror "$@")
mkdir -p "$work"

# alone <include folder> <header>...: each header as the only line of a file.
alone() {
    local dir=$1 header
    shift
    for header in "$@"; do
        "$cxx" "${flags[@]}" -I "$dir" -I "$generated" -I "$root/include" \
            -I "$root/platform/standin/include" -I "$root/platform/include" \
            -fsyntax-only -x c++ - <<<"#include \"${header#"$dir"/}\"" ||
            { echo "FAILED: $header alone as $std" >&2; return 1; }
    done
}

alone "$root/include" "$root"/include/qx_sysevent/*.h
alone "$generated" "$generated"/qx_sysevent/*.h
# The stand-in's floor is GoogleTest's; its later standards are those the
# project itself builds it and the tests with.
if [ "$standard" = 14 ]; then
    alone "$root/platform/standin/include" "$root"/platform/standin/include/qx_standin/*.h
    alone "$root/platform/include" "$root"/platform/include/platform/*.h
fi
"$cxx" "${flags[@]}" -I "$root/include" -I "$generated" "$here/old_standard_process.cpp" \
    -o "$work/old_standard_process" "$library" "$platform" \
    -Wl,-rpath,"$(dirname "$library")":"$(dirname "$platform")"
"$work/old_standard_process"
echo "$cxx $std: every header alone, and a process, built without a warning"
