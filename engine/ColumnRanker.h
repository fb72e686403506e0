#pragma once

#include <QString>
#include <cstddef>
#include <vector>

struct sqlite3;

namespace kv::engine
{

struct FieldInfo;

// The rank of every row's value of one field, as finishDatabase stores it:
// 0 for null, then 1, 2 ... in Czech collation order (marks in code order),
// texts the collator finds equal sharing a number. Built for millions of
// rows: each distinct text is kept once as UTF-8 and gets one sort key, and
// the keys are made and sorted in bounded runs that are then merged, so that
// memory stays a small multiple of the column's text.
class ColumnRanker
{
public:
    // Reads the field in rowid order, at most rows rows (missing rows rank 0).
    static std::vector<int> ranks(sqlite3* db, const QString& table, const FieldInfo& field,
                                  std::size_t rows);
    // Distinct texts sorted in runs of this many at most.
    static std::size_t runLength;
};

} // namespace kv::engine
