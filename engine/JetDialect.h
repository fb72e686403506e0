#pragma once

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

// SQL text for SQLite with its parameters, bound in order to the '?' marks,
// and the number sets it reads (see BoundStatement).
struct Translated {
    QString sql;
    QVariantList params;
    std::vector<IntSet> sets;
};

struct SortTerm {
    QString field; // canonical name
    bool descending = false;
};

// The one place where the Jet-style texts of the program become SQLite SQL.
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
                             const QString& prefix = QString());
    // The same for a filter that carries number lists: each list is taken as
    // it stands in its "field in (...)" place, without reading any text.
    static Translated filter(const QString& table, const Filter& filter,
                             const QString& prefix = QString());
    static Translated select(const QString& statement);
    // A cursor's sort list: "nazev", "placena DESC, nazev" (',' or ';').
    static std::vector<SortTerm> sortList(const QString& table, const QString& sort);
    // ORDER BY term of one field: integers numerically, texts in Czech order.
    static QString orderTerm(const FieldInfo& field, bool descending, const QString& prefix);

    static const TableInfo& knownTable(const QString& name);
    static const FieldInfo& knownField(const TableInfo& table, const QString& name);
    static QString quoted(const QString& identifier) { return u'"' + identifier + u'"'; }
};

} // namespace kv::engine
