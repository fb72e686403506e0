#pragma once

#include <QString>

namespace kv::engine
{

class PgConnection;

// One PostgreSQL transaction (RAII): begun by the constructor, rolled back
// by the destructor unless commit() was called, so an exception leaves the
// server as it was.
class PgTransaction
{
public:
    // begin: the opening command, e.g. "BEGIN ISOLATION LEVEL REPEATABLE READ".
    explicit PgTransaction(PgConnection& connection,
                           const QString& begin = QStringLiteral("BEGIN"));
    ~PgTransaction();
    PgTransaction(const PgTransaction&) = delete;
    PgTransaction& operator=(const PgTransaction&) = delete;

    void commit();

private:
    PgConnection& m_connection;
    bool m_open = true;
};

} // namespace kv::engine
