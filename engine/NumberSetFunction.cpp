#include "engine/NumberSetFunction.h"

#include <sqlite3.h>

#include <algorithm>

namespace kv::engine
{

namespace
{

constexpr const char* kPointerType = "kv_number_set";

void inSet(sqlite3_context* context, int, sqlite3_value** argv)
{
    // NULL stays unknown, as with IN: NOT kv_in_set(NULL, ...) keeps no row either.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* set =
        static_cast<const std::vector<qint64>*>(sqlite3_value_pointer(argv[1], kPointerType));
    if (!set) {
        sqlite3_result_error(context, "kv_in_set: no number set bound", -1);
        return;
    }
    const qint64 x = sqlite3_value_int64(argv[0]);
    sqlite3_result_int(context, std::binary_search(set->begin(), set->end(), x) ? 1 : 0);
}

} // namespace

void NumberSetFunction::registerWith(sqlite3* db)
{
    sqlite3_create_function_v2(db, name, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, inSet,
                               nullptr, nullptr, nullptr);
}

void NumberSetFunction::bind(sqlite3_stmt* statement, int index, const std::vector<qint64>& sorted)
{
    sqlite3_bind_pointer(statement, index, const_cast<std::vector<qint64>*>(&sorted), kPointerType,
                         nullptr);
}

} // namespace kv::engine
