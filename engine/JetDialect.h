#pragma once

#include "engine/SqlForm.h"

#include <QString>
#include <QVariantList>
#include <vector>

namespace kv::engine
{

struct TableInfo;
struct FieldInfo;
class Filter;

// A long list of whole numbers, handed to SQLite as temporary table
// temp.<table>(n), or, when param > 0, as the number set of kv_in_set bound at
// that parameter (see NumberSetFunction).
struct IntSet {
    QString table;
    std::vector<qint64> values;
    int param = 0;
};

// SQL text with its parameters, bound in order to the '?' marks (SQLite) or
// to $1, $2 ... (PostgreSQL), and the number sets it reads (SQLite only, see
// BoundStatement; PostgreSQL gets a long list as one bigint[] parameter).
struct Translated {
    QString sql;
    QVariantList params;
    std::vector<IntSet> sets;
};

struct SortTerm {
    QString field; // canonical name
    bool descending = false;
};

// The one place where the Jet-style texts of the program become SQL, in
// SQLite's form or PostgreSQL's (SqlForm). On PostgreSQL texts compare and
// sort in the Czech collation of the loaded columns, LIKE compares lower
// case (ICU's, so "Č" matches "č"), and a list of more than a few dozen
// numbers is one array parameter ("= any($1::bigint[])").
//
// Accepted: filter expressions built from known field names, whole numbers,
// quoted texts, = <> < > <= >=, IN (list), IS [NOT] NULL, LIKE 'pattern'
// ('*' any run, '?' one character, letter case ignored), NOT, AND, OR and
// parentheses; and SELECT [DISTINCT] fields FROM table [WHERE filter]
// [ORDER BY fields]. Quoted texts become bound parameters, never SQL text.
// Anything else (unknown names, stray quotes, ';', other statements) throws
// Error::engine before SQLite sees it.
class JetDialect
{
public:
    // A filter over `table`; field names are written as prefix + "name".
    static Translated filter(const QString& table, const QString& expression,
                             const QString& prefix = QString(), SqlForm form = SqlForm::Sqlite);
    // The same for a filter that carries number lists: each list is taken as
    // it stands in its "field in (...)" place, without reading any text.
    static Translated filter(const QString& table, const Filter& filter,
                             const QString& prefix = QString(), SqlForm form = SqlForm::Sqlite);
    static Translated select(const QString& statement, SqlForm form = SqlForm::Sqlite);
    // A cursor's sort list: "nazev", "placena DESC, nazev" (',' or ';').
    static std::vector<SortTerm> sortList(const QString& table, const QString& sort);
    // ORDER BY term of one field: integers numerically, texts in Czech order.
    // Nulls come first, as SQLite orders them, on either engine.
    static QString orderTerm(const FieldInfo& field, bool descending, const QString& prefix,
                             SqlForm form = SqlForm::Sqlite);
    // The mark of the 1-based parameter `index`: "?" or "$index".
    static QString parameter(SqlForm form, int index);
    // A Jet pattern ('*' any run, '?' one character) as a LIKE pattern for
    // PostgreSQL, its own '%', '_' and '\' taken literally.
    static QString likePattern(const QString& jetPattern);

    static const TableInfo& knownTable(const QString& name);
    static const FieldInfo& knownField(const TableInfo& table, const QString& name);
    static QString quoted(const QString& identifier) { return u'"' + identifier + u'"'; }
};

} // namespace kv::engine
