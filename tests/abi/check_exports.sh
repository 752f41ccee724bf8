#!/usr/bin/env bash
# Compares the dynamic symbols libqx_sysevent.so defines with the list kept in
# the repository; an accidental export or a lost one fails.
set -euo pipefail
library=$1
expected=$2
diff -u <(LC_ALL=C sort "$expected") \
        <(nm -DC --defined-only "$library" | cut -d' ' -f3- | LC_ALL=C sort)
