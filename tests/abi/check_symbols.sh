#!/usr/bin/env bash
# check_symbols.sh exports|imports <library> <list>: what the library defines
# is the list; or it needs only the C/C++, ACE (TAO) and sanitizer runtimes,
# and what it leaves undefined that those do not define is the list.
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
