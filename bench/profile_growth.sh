#!/usr/bin/env bash
# Under callgrind, the instructions per id that each NE query spends outside
# the database query, library against baseline, as the number of ids grows.
# Hinted insertion keeps this flat for ascending ids; a per-id cost that grows
# with the set's size shows up as a rising column.
#   profile_growth.sh <build folder> [sizes...]
set -euo pipefail
build=${1:?usage: profile_growth.sh <build folder> [sizes...]}
shift
sizes=("${@:-1000 10000 100000}")
read -r -a sizes <<< "${sizes[*]}"
driver=$build/bench/qx_ne_query_profile
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# Inclusive instructions of the first function whose name matches.
inclusive() {
    callgrind_annotate --inclusive=yes --threshold=100 "$1" 2>/dev/null |
        awk -v name="$2" 'index($0, name) && !found { gsub(",", "", $1); print $1; found = 1 }'
}

printf '%-8s %-9s %8s %14s %14s %10s %14s\n' query side ids entry_Ir database_Ir Ir/id rb_increment
for query in vecvec setset allvec; do
    for side in library baseline; do
        case $side in
            library) entry="CUserSecurityMgr::Get" ;;
            baseline) entry="qx_bench::BaselineGet" ;;
        esac
        for ids in "${sizes[@]}"; do
            file=$out/$query.$side.$ids
            valgrind --tool=callgrind --callgrind-out-file="$file" "$driver" "$query" "$side" \
                "$ids" 1 > /dev/null 2>&1
            total=$(inclusive "$file" "$entry")
            database=$(inclusive "$file" "ZorvCommonDBUtility::ZorvGetMngDevice")
            increment=$(inclusive "$file" "std::_Rb_tree_increment")
            printf '%-8s %-9s %8s %14s %14s %10.1f %14s\n' "$query" "$side" "$ids" "$total" \
                "$database" "$(awk -v t="$total" -v d="$database" -v n="$ids" 'BEGIN { print (t - d) / n }')" "${increment:-0}"
        done
    done
done
