#pragma once

#include <QString>
#include <QStringList>

namespace kv::engine
{

struct TableInfo;

// The statements that create the tables of Schema: the one place a builder
// of a company database (demo generator, tests) takes them from.
class SchemaSql
{
public:
    enum class Keys {
        None,   // plain tables: rows may repeat any value (tests, imported data)
        RowKey, // each table's row key is its INTEGER PRIMARY KEY (generated data)
    };
    // The integer field a generated database stores as the rowid (unique
    // there); empty when the table has none.
    static QString rowKey(const QString& table);
    // CREATE TABLE statements, fields in the schema's order (INTEGER or TEXT).
    static QString createSql(const TableInfo& table, Keys keys);
    // Every table, statements separated by ';'.
    static QString createSql(Keys keys);
    // Indexes on the text fields the dictionaries and names are looked up by,
    // one statement each; built after the rows are in. The link and key
    // indexes come from finishDatabase.
    static QStringList lookupIndexSql();
};

} // namespace kv::engine
