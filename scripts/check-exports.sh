#!/usr/bin/env bash
# check-exports.sh <library> <list>: the library's dynamic symbol table defines
# exactly the list's symbols, mangled: the names processes were linked against,
# which differ between the two string ABIs.
set -euo pipefail
library=$1 list=$2
diff -u "$list" <(nm -D --defined-only "$library" | awk '{ sub(/@.*/, "", $3); print $3 }' |
    LC_ALL=C sort)
