#pragma once

#include "engine/PgResult.h"

#include <QString>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace kv::engine
{

class Database;
class PgConnection;
class PgStatement;
class ServerDirectory;

// One prepared statement (RAII) on SQLite or, for a Database on a server, on
// PostgreSQL (written in that form: $n parameters; a run reads all its rows
// at the first step). Parameters are 1-based, columns 0-based. Errors throw
// Error::engine with the engine's message; on a server a failed statement
// leaves the connection usable, and a statement run after its connection
// was lost is prepared again on the new one (ServerDirectory) with its
// values bound.
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

    // SQLite's statement; null on a server.
    sqlite3_stmt* handle() const { return m_stmt; }

private:
    void prepare(sqlite3* db, const QString& sql);
    void check(int rc);
    void failed(); // on a server: recovers the transaction
    // On a server: prepares the statement on the directory's connection
    // when it is not the one it was prepared on.
    void prepareOnServer();
    bool onRow() const { return m_row >= 0 && m_row < m_result.rows(); }
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
    // On a server (the directory and the connection outlive the statement,
    // which ends before them):
    std::shared_ptr<ServerDirectory> m_server;
    std::shared_ptr<PgConnection> m_connection;
    std::unique_ptr<PgStatement> m_pg;
    QString m_sql;
    PgResult m_result;
    bool m_ran = false;
    int m_row = -1;
};

} // namespace kv::engine
