#!/usr/bin/env bash
# kvelta count against the bare SQLite statement counting the same firms.
#
#   bench/count_vs_sqlite.sh HOME [RUNS]
#
# HOME is a data home made by "kvelta make-demo HOME --firms N". The selection
# is the commonest name word (one value in the name row); its selection file
# is written with kvelta oxo-pack. Both are run RUNS times (7 by default),
# alternately, as whole processes; the script prints each median and the ratio.
# KVELTA names the executable (default: build/app/kvelta beside this script).
set -euo pipefail

home=${1:?usage: count_vs_sqlite.sh HOME [RUNS]}
runs=${2:-7}
here=$(cd "$(dirname "$0")" && pwd)
kvelta=${KVELTA:-$here/../build/app/kvelta}
db=$home/Dta/KV2001.db
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$here/word_selection.sh"
word_selection "$kvelta" "$db" 0 "$work/word.kvv"

floor_sql="SELECT count(*) FROM firma WHERE peno IN (SELECT peno FROM slnazev_p WHERE id=$id);"
ours=$("$kvelta" count --home "$home" "$work/word.kvv")
theirs=$(sqlite3 "$db" "$floor_sql")
echo "word \"$word\" (id $id): kvelta count $ours, sqlite3 $theirs"
[ "$ours" = "$theirs" ] || { echo "the counts differ" >&2; exit 1; }

now() { date +%s%N; }
: >"$work/ours"
: >"$work/floor"
for _ in $(seq "$runs"); do
    t=$(now); "$kvelta" count --home "$home" "$work/word.kvv" >/dev/null
    echo $(( ($(now) - t) / 1000000 )) >>"$work/ours"
    t=$(now); sqlite3 "$db" "$floor_sql" >/dev/null
    echo $(( ($(now) - t) / 1000000 )) >>"$work/floor"
done
median() { sort -n "$1" | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : int((v[NR/2]+v[NR/2+1])/2)}'; }
a=$(median "$work/ours")
b=$(median "$work/floor")
peak=$( { /usr/bin/time -f '%M' "$kvelta" count --home "$home" "$work/word.kvv" >/dev/null; } 2>&1 | tail -1)
echo "kvelta count: median ${a} ms over $runs runs (peak ${peak} KB)"
echo "sqlite3:      median ${b} ms over $runs runs"
awk -v a="$a" -v b="$b" 'BEGIN { printf "ratio: %.2fx (target 1.5x or less)\n", (b > 0 ? a / b : 0) }'
