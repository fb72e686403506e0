#pragma once

namespace kv::engine
{

// The SQL a statement is written in: SQLite's ('?' parameters, the
// program's own collation and functions) or PostgreSQL's ('$n' parameters,
// ICU's Czech collation, number sets as array parameters).
enum class SqlForm { Sqlite, Postgres };

} // namespace kv::engine
