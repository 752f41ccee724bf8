#!/usr/bin/env bash
# The dynamic symbols of libqx_sysevent.so against the lists kept in abi/.
#   check_symbols.sh exports <library> <list>: what it defines; an accidental
#     export or a lost one fails.
#   check_symbols.sh imports <library> <list>: it needs only the C/C++
#     runtime, ACE (TAO) and sanitizer runtimes, and every symbol it leaves
#     undefined that those do not define is listed: a new platform dependency
#     is a reviewed change. Listed symbols that TAO defines drop out.
set -euo pipefail
mode=$1 library=$2 list=$3
runtime='lib(c|m|stdc\+\+|gcc_s|ACE|TAO[A-Za-z_]*|asan|ubsan|tsan)[-.][^/]*'
# Demangled names, versions cut; 64-bit nm output.
names() { nm -DC "$@" | grep -v '^ *w ' | sed -E 's/^.{16} . //; s/@.*//' | LC_ALL=C sort; }
if [ "$mode" = exports ]; then
    diff -u <(LC_ALL=C sort "$list") <(names --defined-only "$library")
    exit
fi
needed=$(readelf -d "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
if grep -Evx "$runtime" <<<"$needed"; then
    echo "needed beyond the runtime and ACE: the lines above" >&2
    exit 1
fi
mapfile -t deps < <(ldd "$library" | awk '$2 == "=>" {print $3}' | grep -E "/$runtime\$")
provided=$(names --defined-only "${deps[@]}")
diff -u <(LC_ALL=C comm -23 <(LC_ALL=C sort -u "$list") - <<<"$provided") \
        <(LC_ALL=C comm -23 <(names --undefined-only "$library") - <<<"$provided")
