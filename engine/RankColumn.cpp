#include "engine/RankColumn.h"

#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/PgRankTables.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <algorithm>
#include <limits>

namespace kv::engine
{

RankColumn::RankColumn(const Database& db, const QString& table, const QString& field)
{
    const qint64 rows = db.rankedRows(table);
    m_ranks.reserve(size_t(rows));
    m_order32.reserve(size_t(rows));
    qint64 top = -1;
    const auto add = [&](qint64 rowid, qint32 rank) {
        m_ranks.push_back(rank);
        if (m_compact && rowid >= 0 && rowid <= std::numeric_limits<qint32>::max()) {
            m_order32.push_back(quint32(rowid));
            top = std::max(top, rowid);
            return;
        }
        if (m_compact) { // rowids beyond 32 bits: the rest goes the wide way
            m_compact = false;
            m_order64.assign(m_order32.begin(), m_order32.end());
            m_order32 = {};
        }
        m_order64.push_back(rowid);
    };
    if (db.isServer()) {
        // The column the load stored packed in this order: a few large
        // values instead of a row each.
        for (const auto& [rank, rowid] : PgRankTables::column(db, table, field))
            add(rowid, rank);
    } else {
        // The rank index holds (rank, rid): read in its order it is the
        // sorted table, without touching the rank table's own pages.
        const QString column = JetDialect::quoted(field);
        Statement st(db, QStringLiteral("SELECT rid, %1 FROM %2 ORDER BY %1, rid")
                             .arg(column, JetDialect::quoted(Schema::rankTable(table))));
        while (st.step())
            add(st.int64(0), qint32(st.int64(1)));
    }
    placeRows(top);
}

std::unique_ptr<RankColumn> RankColumn::fromOrder(LargeArray<quint32> rows,
                                                  LargeArray<qint32> ranks)
{
    if (rows.size() != ranks.size())
        return nullptr;
    qint64 top = -1;
    for (size_t p = 0; p < rows.size(); ++p) {
        if (rows[p] > quint32(std::numeric_limits<qint32>::max()))
            return nullptr;
        if (p > 0 &&
            (ranks[p] < ranks[p - 1] || (ranks[p] == ranks[p - 1] && rows[p] <= rows[p - 1])))
            return nullptr; // not the (rank, rowid) order
        top = std::max(top, qint64(rows[p]));
    }
    std::unique_ptr<RankColumn> column(new RankColumn);
    column->m_order32 = std::move(rows);
    column->m_ranks = std::move(ranks);
    if (!column->placeRows(top))
        return nullptr;
    return column;
}

bool RankColumn::placeRows(qint64 top)
{
    // A direct table costs 4 bytes per possible rowid: worth it unless rowids are scattered.
    if (m_compact && top > 4 * qint64(m_order32.size()) + 4096) {
        m_compact = false;
        m_order64.assign(m_order32.begin(), m_order32.end());
        m_order32 = {};
    }
    if (m_compact) {
        m_places.assign(size_t(top + 1), -1);
        bool distinct = true;
        for (size_t p = 0; p < m_order32.size(); ++p) {
            qint32& place = m_places[m_order32[p]];
            distinct = distinct && place < 0;
            place = qint32(p);
        }
        return distinct;
    }
    m_sparse.reserve(m_order64.size());
    for (size_t p = 0; p < m_order64.size(); ++p)
        m_sparse.emplace_back(m_order64[p], qint32(p));
    std::sort(m_sparse.begin(), m_sparse.end());
    return std::adjacent_find(m_sparse.begin(), m_sparse.end(), [](const auto& a, const auto& b) {
               return a.first == b.first;
           }) == m_sparse.end();
}

} // namespace kv::engine
