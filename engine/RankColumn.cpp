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
        // Read by row id in chunks and sorted here: the server would sort
        // millions of rows on disk with its default working memory.
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
    // A direct table costs 4 bytes per possible rowid: worth it unless rowids are scattered.
    if (m_compact && top > 4 * qint64(m_order32.size()) + 4096) {
        m_compact = false;
        m_order64.assign(m_order32.begin(), m_order32.end());
        m_order32 = {};
    }
    if (m_compact) {
        m_places.assign(size_t(top + 1), -1);
        for (size_t p = 0; p < m_order32.size(); ++p)
            m_places[m_order32[p]] = qint32(p);
        return;
    }
    m_sparse.reserve(m_order64.size());
    for (size_t p = 0; p < m_order64.size(); ++p)
        m_sparse.emplace_back(m_order64[p], qint32(p));
    std::sort(m_sparse.begin(), m_sparse.end());
}

} // namespace kv::engine
