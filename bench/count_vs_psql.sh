#!/usr/bin/env bash
# kvelta count on a server against psql running the bare statement that
# counts the same firms.
#
#   bench/count_vs_psql.sh HOME URL [RUNS]
#
# HOME is the data home that was loaded into the server with "kvelta db load
# --home HOME URL" (it names the commonest name word); URL is the libpq
# connection string of that server. The selection is the commonest name word;
# its selection file is written with kvelta oxo-pack. Both run RUNS times
# (7 by default), alternately, as whole processes; the script prints each
# median and the ratio. KVELTA names the executable (default:
# build/app/kvelta beside this script).
set -euo pipefail

home=${1:?usage: count_vs_psql.sh HOME URL [RUNS]}
url=${2:?usage: count_vs_psql.sh HOME URL [RUNS]}
runs=${3:-7}
here=$(cd "$(dirname "$0")" && pwd)
kvelta=${KVELTA:-$here/../build/app/kvelta}
db=$home/Dta/KV2001.db
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$here/word_selection.sh"
word_selection "$kvelta" "$db" 0 "$work/word.kvv"

schema=$(psql -X -A -t -d "$url" -c "SELECT schema_name FROM kvelta.version")
floor_sql="SET search_path TO $schema; SELECT count(*) FROM firma WHERE peno IN (SELECT peno FROM slnazev_p WHERE id=$id);"
ours=$("$kvelta" count --db "$url" "$work/word.kvv")
theirs=$(psql -X -A -t -q -d "$url" -c "$floor_sql" | tail -1)
echo "word \"$word\" (id $id) in $schema: kvelta count $ours, psql $theirs"
[ "$ours" = "$theirs" ] || { echo "the counts differ" >&2; exit 1; }

now() { date +%s%N; }
: >"$work/ours"
: >"$work/floor"
for _ in $(seq "$runs"); do
    t=$(now); "$kvelta" count --db "$url" "$work/word.kvv" >/dev/null
    echo $(( ($(now) - t) / 1000000 )) >>"$work/ours"
    t=$(now); psql -X -A -t -q -d "$url" -c "$floor_sql" >/dev/null
    echo $(( ($(now) - t) / 1000000 )) >>"$work/floor"
done
median() { sort -n "$1" | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : int((v[NR/2]+v[NR/2+1])/2)}'; }
a=$(median "$work/ours")
b=$(median "$work/floor")
echo "kvelta count --db: median $a ms of $runs ($(tr '\n' ' ' <"$work/ours"))"
echo "psql:              median $b ms of $runs ($(tr '\n' ' ' <"$work/floor"))"
awk -v a="$a" -v b="$b" 'BEGIN { printf "ratio %.2f\n", (b > 0 ? a / b : 0) }'
