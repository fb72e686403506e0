#pragma once

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <utility>
#include <vector>

namespace kv::engine
{

class Database;

// The Czech rank of one text field for every row of a table, read once from
// the rank table made by finishDatabase, so that sorting a large set is an
// integer sort in memory instead of a join per row.
class RankColumn
{
public:
    RankColumn(const Database& db, const QString& table, const QString& field);
    qint64 rank(qint64 rowid) const
    {
        if (!m_dense.empty())
            return rowid >= 0 && rowid < qint64(m_dense.size()) ? m_dense[size_t(rowid)] : 0;
        const auto it =
            std::lower_bound(m_sparse.begin(), m_sparse.end(), std::pair<qint64, qint32>(rowid, 0));
        return it != m_sparse.end() && it->first == rowid ? it->second : 0;
    }

private:
    std::vector<qint32> m_dense;                     // by rowid, when rowids are compact
    std::vector<std::pair<qint64, qint32>> m_sparse; // sorted by rowid otherwise
};

} // namespace kv::engine
