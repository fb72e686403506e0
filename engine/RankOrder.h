#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

namespace kv::engine
{

class Database;
struct SortTerm;

// Orders row ids of a table by the stored Czech ranks of up to three fields,
// ties by rowid: the cursor's sort without asking SQLite to sort. With one
// field and its rank column loaded, a set is ordered by marking each row's
// place in the whole table's order and reading the marks back, so the cost
// grows with the rows of the set plus a bit per row of the table. A set far
// smaller than the table reads its rows' ranks one by one instead of loading
// whole rank columns (the start-up set is one firm of millions).
class RankOrder
{
public:
    static constexpr size_t kMaxTerms = 3;

    // Every term must have a rank (Database::hasRank).
    static void sort(const Database& db, const QString& table, const std::vector<SortTerm>& terms,
                     std::vector<qint64>& rows);
    // The whole table in the ascending order of one field.
    static std::vector<qint64> wholeTable(const Database& db, const QString& table,
                                          const QString& field);
    // Whether rows of this many of the table's rows are better sorted by
    // reading whole rank columns.
    static bool worthColumns(const Database& db, const QString& table, size_t rows);
};

} // namespace kv::engine
