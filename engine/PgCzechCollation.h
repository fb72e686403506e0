#pragma once

#include <QString>

namespace kv::engine
{

class PgConnection;

// The Czech order on a PostgreSQL server: ICU's collation "cs-CZ-x-icu",
// the same tailoring as the program's collator ("ch" after "h", "č" after
// "c", accents and letter case only breaking ties). initdb creates it on a
// server built with ICU (Debian's is).
class PgCzechCollation
{
public:
    static constexpr const char* name = "cs-CZ-x-icu";
    // COLLATE clause for a text column: COLLATE pg_catalog."cs-CZ-x-icu".
    static QString clause();
    // Throws Error::engine when the connected database lacks the collation.
    static void require(PgConnection& connection);
};

} // namespace kv::engine
