#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace kv::engine
{

class Database;

// One prepared SQLite statement (RAII). Parameters are 1-based, columns 0-based.
// Errors throw Error::engine with SQLite's message.
class Statement
{
public:
    Statement(const Database& db, const QString& sql);
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, qint64 value);
    void bind(int index, int value) { bind(index, qint64(value)); }
    void bind(int index, const QString& value);
    void bind(int index, const QByteArray& blob);
    void bind(int index, const QVariant& value); // null, integer or text
    void bindNull(int index);
    void bind(const QString& name, const QVariant& value); // ":name", "?1" ...
    void clearBindings();

    bool step(); // true while a row is available
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    QString text(int column) const;
    qint64 int64(int column) const;
    int integer(int column) const { return int(int64(column)); }
    QVariant value(int column) const; // qlonglong, double, QString, QByteArray or null

    sqlite3_stmt* handle() const { return m_stmt; }

private:
    void check(int rc);
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace kv::engine
