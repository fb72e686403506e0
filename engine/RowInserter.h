#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace kv::engine
{

class Database;
struct TableInfo;

// A prepared INSERT of whole rows into one table, kept for every row of a
// bulk load: values are added field by field in the table's order, then
// insert() writes the row and makes the statement ready for the next one.
// Errors throw Error::engine with SQLite's message.
class RowInserter
{
public:
    RowInserter(Database& db, const TableInfo& table);
    // A table the schema does not know (an imported one) with its field count.
    RowInserter(Database& db, const QString& table, int fields);
    ~RowInserter();
    RowInserter(const RowInserter&) = delete;
    RowInserter& operator=(const RowInserter&) = delete;

    RowInserter& add(qint64 value);
    RowInserter& add(int value) { return add(qint64(value)); }
    // A null string is SQL NULL, never ''.
    RowInserter& add(QStringView value, bool isNull);
    RowInserter& add(const QString& value) { return add(QStringView(value), value.isNull()); }
    RowInserter& add(const char* latin1) = delete; // say which text is meant
    // Null, integer, double, bytes or text (anything else as its text).
    RowInserter& add(const QVariant& value);
    RowInserter& addNull();
    RowInserter& addDouble(double value);
    RowInserter& addBlob(const QByteArray& value);

    // Writes the row; fields not added are NULL.
    void insert();

private:
    void check(int rc);
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    int m_next = 1;
    QList<QByteArray> m_text; // each field's text as UTF-8, bound without a copy
};

} // namespace kv::engine
