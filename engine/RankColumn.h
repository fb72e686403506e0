#pragma once

#include "engine/LargeArray.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace kv::engine
{

class Database;

// The Czech rank of one text field for every row of a table, read once from
// the (rank, rid) index of the rank table made by finishDatabase. It holds
// the whole table in (rank, rowid) order and each row's place in it, so a
// sort of any set of rows is a pass over a bit per row of the table, the
// whole table in one order is a copy, and it tells which rows the table has.
class RankColumn
{
public:
    RankColumn(const Database& db, const QString& table, const QString& field);
    // A column from its rowids in (rank, rowid) order and their ranks, as a
    // remembered copy holds them; nothing when they are not such an order of
    // distinct rowids (a damaged copy).
    static std::unique_ptr<RankColumn> fromOrder(LargeArray<quint32> rows,
                                                 LargeArray<qint32> ranks);
    // Whether every rowid fits the 32 bits of such a copy.
    bool narrow() const { return m_order64.empty(); }

    // Rows of the table.
    size_t size() const { return m_ranks.size(); }
    // The row at a place of the (rank, rowid) order, and its rank.
    qint64 rowAt(size_t place) const
    {
        return m_order32.empty() ? m_order64[place] : qint64(m_order32[place]);
    }
    qint32 rankAt(size_t place) const { return m_ranks[place]; }
    // The place of a row in that order; -1 for a row the table does not have.
    qint64 place(qint64 rowid) const
    {
        if (!m_compact) {
            const auto it = std::lower_bound(m_sparse.begin(), m_sparse.end(),
                                             std::pair<qint64, qint32>(rowid, -1));
            return it != m_sparse.end() && it->first == rowid ? it->second : -1;
        }
        return rowid >= 0 && rowid < qint64(m_places.size()) ? m_places[size_t(rowid)] : -1;
    }
    bool contains(qint64 rowid) const { return place(rowid) >= 0; }
    // 0 (the rank of an empty text) for a row the table does not have.
    qint64 rank(qint64 rowid) const
    {
        const qint64 p = place(rowid);
        return p < 0 ? 0 : m_ranks[size_t(p)];
    }

private:
    RankColumn() = default;
    // Each row's place, from the order; false when a rowid comes twice.
    bool placeRows(qint64 top);

    bool m_compact = true;
    LargeArray<quint32> m_order32;                   // rowids when compact
    LargeArray<qint64> m_order64;                    // otherwise
    LargeArray<qint32> m_ranks;                      // by place
    LargeArray<qint32> m_places;                     // by rowid when compact, -1 for none
    std::vector<std::pair<qint64, qint32>> m_sparse; // (rowid, place) sorted otherwise
};

} // namespace kv::engine
