#pragma once

#include <vector>

#include <QtGlobal>

struct sqlite3;
struct sqlite3_stmt;

namespace kv::engine
{

// The SQL function kv_in_set(x, set): whether x is one of a sorted set of
// whole numbers handed to the statement as a pointer parameter. A filter
// that keeps hundreds of thousands of firms reads better as one pass over
// the table with a binary search per row than as a temporary table that
// SQLite copies into an index of its own and then probes row by row.
class NumberSetFunction
{
public:
    static constexpr const char* name = "kv_in_set";
    static void registerWith(sqlite3* db);
    // `sorted` must be sorted without duplicates and outlive the statement.
    static void bind(sqlite3_stmt* statement, int index, const std::vector<qint64>& sorted);
};

} // namespace kv::engine
