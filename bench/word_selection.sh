# Sourced by the benchmark scripts: a saved selection of one name word.
#
#   word_selection KVELTA DB RANK OUT.kvv
#
# Writes OUT.kvv selecting the firms of the name word that is the RANK-th
# commonest in DB (0: the commonest) and sets the variables id and word.
word_selection() {
    local kvelta=$1 db=$2 rank=$3 out=$4
    id=$(sqlite3 "$db" "SELECT id FROM slnazev_p GROUP BY id ORDER BY count(*) DESC LIMIT 1 OFFSET $rank")
    word=$(sqlite3 "$db" "SELECT txt FROM slnazev WHERE id=$id")
    # The selection record: header, switches and check boxes, then the seven
    # criterion blocks (flag, text count, texts, key count, keys) in record
    # order name, industry, town, district, company number, street, keyword.
    {
        printf ' libovolny* text\xc3\xadk 58 KV2001\n1\n1\n0\n0\n0\n'
        printf '1\n1\n%s\n1\n%s\n' "$word" "$id"
        for _ in 1 2 3 4 5 6; do printf '1\n0\n0\n'; done
    } >"$out.txt"
    "$kvelta" oxo-pack --key 0x0C "$out.txt" "$out" >/dev/null
    rm -f "$out.txt"
}
