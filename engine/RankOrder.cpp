#include "engine/RankOrder.h"

#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/PgRankTables.h"
#include "engine/RankColumn.h"
#include "engine/ReadTransaction.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <algorithm>
#include <array>
#include <bit>

namespace kv::engine
{

namespace
{

// The set's rows marked at their places in the column's order; false when a
// row is not in the table or comes twice (the sort by keys keeps those).
bool mark(const RankColumn& column, const std::vector<qint64>& rows, LargeArray<quint64>& bits)
{
    bits.assign((column.size() + 63) / 64, 0);
    for (const qint64 rowid : rows) {
        const qint64 place = column.place(rowid);
        if (place < 0)
            return false;
        quint64& word = bits[size_t(place) >> 6];
        const quint64 bit = quint64(1) << (place & 63);
        if (word & bit)
            return false;
        word |= bit;
    }
    return true;
}

bool sortByPlaces(const RankColumn& column, bool descending, std::vector<qint64>& rows)
{
    LargeArray<quint64> bits;
    if (!mark(column, rows, bits))
        return false;
    size_t k = 0;
    if (!descending) {
        for (size_t w = 0; w < bits.size(); ++w)
            for (quint64 b = bits[w]; b; b &= b - 1)
                rows[k++] = column.rowAt(w * 64 + size_t(std::countr_zero(b)));
        return true;
    }
    // Highest rank first, one rank's rows still by rowid: the places are
    // read backwards and each run of one rank is turned round.
    size_t run = 0;
    qint32 runRank = 0;
    for (size_t w = bits.size(); w-- > 0;)
        for (quint64 b = bits[w]; b;) {
            const int high = 63 - std::countl_zero(b);
            b &= ~(quint64(1) << high);
            const size_t place = w * 64 + size_t(high);
            const qint32 rank = column.rankAt(place);
            if (k > run && rank != runRank) {
                std::reverse(rows.begin() + qsizetype(run), rows.begin() + qsizetype(k));
                run = k;
            }
            runRank = rank;
            rows[k++] = column.rowAt(place);
        }
    std::reverse(rows.begin() + qsizetype(run), rows.begin() + qsizetype(k));
    return true;
}

struct Key {
    std::array<qint64, RankOrder::kMaxTerms> ranks{};
    qint64 rowid;
    bool operator<(const Key& o) const
    {
        return ranks != o.ranks ? ranks < o.ranks : rowid < o.rowid;
    }
};

// Ranks of the terms without a column, read per row from the rank table.
void lookUp(const Database& db, const QString& table, const std::vector<SortTerm>& terms,
            const std::vector<const RankColumn*>& columns, std::vector<Key>& keys)
{
    QStringList fields;
    std::vector<size_t> which;
    for (size_t c = 0; c < terms.size(); ++c)
        if (!columns[c]) {
            fields << JetDialect::quoted(terms[c].field);
            which.push_back(c);
        }
    if (which.empty())
        return;
    if (db.isServer()) {
        // One statement for every row: a round trip per row would cost more
        // than the server's work.
        std::vector<qint64> rowids;
        rowids.reserve(keys.size());
        for (const Key& key : keys)
            rowids.push_back(key.rowid);
        QStringList names;
        for (size_t c : which)
            names << terms[c].field;
        const QHash<qint64, std::vector<qint64>> found =
            PgRankTables::ranksOf(db, table, names, rowids);
        for (Key& key : keys) {
            const auto it = found.constFind(key.rowid);
            for (size_t i = 0; i < which.size(); ++i) {
                const qint64 r = it == found.constEnd() ? 0 : it->at(i); // as RankColumn::rank
                key.ranks[which[i]] = terms[which[i]].descending ? -r : r;
            }
        }
        return;
    }
    // One lock of the file for all the lookups, not one per row.
    const ReadTransaction reading(db);
    Statement st(db, QStringLiteral("SELECT %1 FROM %2 WHERE rid = ?")
                         .arg(fields.join(u','), JetDialect::quoted(Schema::rankTable(table))));
    for (Key& key : keys) {
        st.reset();
        st.bind(1, key.rowid);
        const bool found = st.step();
        for (size_t i = 0; i < which.size(); ++i) {
            const qint64 r = found ? st.int64(int(i)) : 0; // as RankColumn::rank
            key.ranks[which[i]] = terms[which[i]].descending ? -r : r;
        }
    }
    st.reset();
}

} // namespace

bool RankOrder::worthColumns(const Database& db, const QString& table, size_t rows)
{
    // A row's rank read by key costs about as much as 30 rows of a whole column.
    return qint64(rows) * 32 >= db.rankedRows(table);
}

void RankOrder::sort(const Database& db, const QString& table, const std::vector<SortTerm>& terms,
                     std::vector<qint64>& rows)
{
    if (rows.size() < 2 || terms.empty())
        return;
    const bool load = worthColumns(db, table, rows.size());
    std::vector<const RankColumn*> columns;
    for (const SortTerm& t : terms)
        columns.push_back(load ? &db.rankColumn(table, t.field)
                               : db.loadedRankColumn(table, t.field));
    if (terms.size() == 1 && columns[0] && sortByPlaces(*columns[0], terms[0].descending, rows))
        return;
    std::vector<Key> keys(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        keys[i].rowid = rows[i];
        for (size_t c = 0; c < columns.size(); ++c)
            if (columns[c]) {
                const qint64 r = columns[c]->rank(rows[i]);
                keys[i].ranks[c] = terms[c].descending ? -r : r;
            }
    }
    lookUp(db, table, terms, columns, keys);
    std::sort(keys.begin(), keys.end());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = keys[i].rowid;
}

std::vector<qint64> RankOrder::wholeTable(const Database& db, const QString& table,
                                          const QString& field)
{
    const RankColumn& column = db.rankColumn(table, field);
    std::vector<qint64> rows;
    rows.reserve(column.size());
    for (size_t p = 0; p < column.size(); ++p)
        rows.push_back(column.rowAt(p));
    return rows;
}

} // namespace kv::engine
