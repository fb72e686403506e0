#pragma once

#include <QString>
#include <vector>

namespace kv::engine
{

// The pieces of PostgreSQL's form of the program's SQL that JetDialect puts
// together (see SqlForm): what differs from SQLite's beyond '$n' marks.
class PgSqlForm
{
public:
    // "{1,2,3}": a number list as the text of one bigint[] parameter.
    static QString numberArray(const std::vector<qint64>& numbers);
    // Case-blind LIKE of field against the pattern bound at mark; lower()
    // follows a collation's letters, and the pattern's own collation is the
    // database's default, which may know only ASCII.
    static QString like(const QString& field, const QString& mark);
    // A Jet pattern ('*' any run, '?' one character) as a LIKE pattern, its
    // own '%', '_' and '\\' taken literally.
    static QString likePattern(const QString& jetPattern);
    // An ORDER BY term in Czech order for texts, nulls first as SQLite has them.
    static QString orderTerm(const QString& field, bool text, bool descending);
};

} // namespace kv::engine
