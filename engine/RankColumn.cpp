#include "engine/RankColumn.h"

#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <algorithm>
#include <limits>

namespace kv::engine
{

RankColumn::RankColumn(const Database& db, const QString& table, const QString& field)
{
    // The rank index holds (rank, rid): read in its order it is the sorted
    // table, without touching the rank table's own pages.
    const QString rankTable = JetDialect::quoted(Schema::rankTable(table));
    const QString column = JetDialect::quoted(field);
    const qint64 rows = db.rankedRows(table);
    Statement st(db,
                 QStringLiteral("SELECT rid, %1 FROM %2 ORDER BY %1, rid").arg(column, rankTable));
    std::vector<qint64> order;
    order.reserve(size_t(rows));
    m_ranks.reserve(size_t(rows));
    qint64 low = std::numeric_limits<qint64>::max(), top = -1;
    while (st.step()) {
        const qint64 rowid = st.int64(0);
        order.push_back(rowid);
        m_ranks.push_back(qint32(st.int64(1)));
        low = std::min(low, rowid);
        top = std::max(top, rowid);
    }
    // A direct table costs 4 bytes per possible rowid: worth it unless rowids are scattered.
    m_compact = order.empty() || (low >= 0 && top <= 4 * qint64(order.size()) + 4096 &&
                                  top <= std::numeric_limits<qint32>::max());
    if (m_compact) {
        m_order32.assign(order.begin(), order.end());
        m_places.assign(size_t(top + 1), -1);
        for (size_t p = 0; p < order.size(); ++p)
            m_places[size_t(order[p])] = qint32(p);
        return;
    }
    m_sparse.reserve(order.size());
    for (size_t p = 0; p < order.size(); ++p)
        m_sparse.emplace_back(order[p], qint32(p));
    std::sort(m_sparse.begin(), m_sparse.end());
    m_order64 = std::move(order);
}

} // namespace kv::engine
