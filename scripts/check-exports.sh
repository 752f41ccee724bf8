#!/usr/bin/env bash
# check-exports.sh <library> <list>: the library's dynamic symbol table defines
# exactly the list's symbols, mangled: the names processes were linked against,
# which differ between the two string ABIs. $NM reads it: the test passes the
# build's own, which reads a cross-built library too.
set -euo pipefail
library=$1 list=$2
diff -u "$list" <("${NM:-nm}" -D --defined-only "$library" | awk '{ sub(/@.*/, "", $3); print $3 }' |
    LC_ALL=C sort)
