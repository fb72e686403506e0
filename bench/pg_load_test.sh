#!/usr/bin/env bash
# A bounded load test of the directory on a server: CLIENTS desktops at once
# (10 by default), each applying saved selections and scrolling their lists
# for SECONDS (60 by default), over the loopback address.
#
#   bench/pg_load_test.sh HOME URL [CLIENTS] [SECONDS]
#
# HOME is the data home that was loaded into the server (its name words give
# the selections: the commonest, the 10th, 100th and 1,000th commonest); URL
# the server's libpq connection string (for the loopback test
# "host=127.0.0.1 ..."). Prints per action the count, the median and the
# 95th percentile of the wall time, and the errors (none are allowed: the
# exit status is 1 when there was one). KVELTA and CLIENT name the programs
# (default: build/app/kvelta and build/bench/bench_pg_client).
set -euo pipefail

home=${1:?usage: pg_load_test.sh HOME URL [CLIENTS] [SECONDS]}
url=${2:?usage: pg_load_test.sh HOME URL [CLIENTS] [SECONDS]}
clients=${3:-10}
seconds=${4:-60}
here=$(cd "$(dirname "$0")" && pwd)
kvelta=${KVELTA:-$here/../build/app/kvelta}
client=${CLIENT:-$here/../build/bench/bench_pg_client}
db=$home/Dta/KV2001.db
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$here/word_selection.sh"
files=()
for rank in 0 9 99 999; do
    word_selection "$kvelta" "$db" "$rank" "$work/word$rank.kvv"
    files+=("$work/word$rank.kvv")
    echo "selection $rank: \"$word\", $("$kvelta" count --db "$url" "$work/word$rank.kvv") firms"
done

for c in $(seq "$clients"); do
    "$client" "$url" "$seconds" "$c" "${files[@]}" >"$work/client$c.log" 2>&1 &
done
wait

cat "$work"/client*.log >"$work/all.log"
stats() {
    awk -v kind="$1" '$1 == kind { print $2 }' "$work/all.log" | sort -n |
        awk -v kind="$1" '{ v[NR] = $1 }
            END {
                if (NR == 0) { printf "%-7s none\n", kind; exit }
                m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
                p = v[int(0.95 * NR + 0.999999)]
                printf "%-7s %6d actions, median %8.1f ms, 95th percentile %8.1f ms, max %8.1f ms\n",
                    kind, NR, m, p, v[NR]
            }'
}
echo "$clients clients, $seconds s:"
stats sel
stats screen
errors=$(grep -c '^error' "$work/all.log" || true)
other=$(grep -vcE '^(sel|screen|error) ' "$work/all.log" || true)
echo "errors  $errors"
grep '^error' "$work/all.log" | sort | uniq -c | head -5 || true
[ "$errors" = 0 ] && [ "$other" = 0 ] || { echo "the load test had failures" >&2; exit 1; }
