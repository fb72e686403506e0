#include "engine/RankColumn.h"

#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <algorithm>

namespace kv::engine
{

RankColumn::RankColumn(const Database& db, const QString& table, const QString& field)
{
    Statement st(db,
                 QStringLiteral("SELECT rid, %1 FROM %2 ORDER BY rid")
                     .arg(JetDialect::quoted(field), JetDialect::quoted(Schema::rankTable(table))));
    while (st.step())
        m_sparse.emplace_back(st.int64(0), qint32(st.int64(1)));
    const qint64 top = m_sparse.empty() ? 0 : m_sparse.back().first;
    // A direct table costs 4 bytes per possible rowid: worth it unless rowids are scattered.
    if (m_sparse.empty() || m_sparse.front().first < 0 || top > 4 * qint64(m_sparse.size()) + 4096)
        return;
    m_dense.assign(size_t(top) + 1, 0);
    for (const auto& [rowid, rank] : m_sparse)
        m_dense[size_t(rowid)] = rank;
    m_sparse.clear();
    m_sparse.shrink_to_fit();
}

} // namespace kv::engine
