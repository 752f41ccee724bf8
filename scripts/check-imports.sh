#!/usr/bin/env bash
# check-imports.sh <library> <list>: the library needs only the C/C++, ACE
# (TAO) and sanitizer runtimes, and what it leaves undefined that those do
# not define is the list: the platform's symbols. The runtimes are the
# libraries it names, as the compiler that built it ($CXX) finds them, read
# with $NM and $READELF: the test passes the build's own tools, so that a
# cross build checks a library this host could not load.
set -euo pipefail
library=$1 list=$2
cxx=${CXX:-c++} nm=${NM:-nm} readelf=${READELF:-readelf}
runtime='lib(c|m|stdc\+\+|gcc_s|ACE|TAO[A-Za-z_]*|asan|ubsan|tsan)[-.][^/]*'
# Demangled names, versions cut; 64-bit nm output. Weak references are left
# out: a platform symbol made weak would load without a platform, and shows
# here as missing from the list.
names() { "$nm" -DC "$@" | grep -v '^ *w ' | sed -E 's/^.{16} . //; s/@.*//' | LC_ALL=C sort; }
needed=$("$readelf" -d "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
if grep -Evx "$runtime" <<<"$needed"; then
    echo "needed beyond the runtime and ACE: the lines above" >&2
    exit 1
fi
# Where the compiler does not find one (a site's TAO in a prefix of its own),
# the folders of LD_LIBRARY_PATH, as the loader would.
find_runtime() {
    local found dir
    found=$("$cxx" -print-file-name="$1")
    [ -f "$found" ] || for dir in ${LD_LIBRARY_PATH//:/ }; do
        [ -f "$dir/$1" ] && found=$dir/$1 && break
    done
    echo "$found"
}
deps=()
for name in $needed; do
    deps+=("$(find_runtime "$name")")
    [ -f "${deps[-1]}" ] || { echo "$name: neither $cxx nor LD_LIBRARY_PATH finds it" >&2; exit 1; }
done
provided=$(names --defined-only "${deps[@]}")
diff -u <(LC_ALL=C comm -23 <(LC_ALL=C sort -u "$list") - <<<"$provided") \
        <(LC_ALL=C comm -23 <(names --undefined-only "$library") - <<<"$provided")
