#pragma once

#include "engine/Filter.h"

#include <QString>
#include <vector>

namespace kv::engine
{

class Database;
class RankColumn;

// A filter that is only a carried number list on the table's rowid field,
// "(peno in (...))" as the selection of firms through an index table gives
// it. Its rows are the numbers that the table has, which a rank column knows
// (its rows are the table's, checked when the database opened), so a set of
// a million firms is found and counted without a pass over the table.
class KeySetFilter
{
public:
    // The numbers when the filter is such a list, else nullptr.
    static const Filter::Numbers* numbers(const Database& db, const QString& table,
                                          const Filter& filter);
    // A rank column of the table to tell its rows: one already loaded, else
    // the first ranked field's; nullptr when the table has none.
    static const RankColumn* rowsOf(const Database& db, const QString& table);
    // The numbers that are rows of the table, ascending and without repeats.
    static std::vector<qint64> rows(const RankColumn& table, const Filter::Numbers& numbers);
    static qint64 count(const RankColumn& table, const Filter::Numbers& numbers);
};

} // namespace kv::engine
