#pragma once

#include <QString>

namespace kvtest
{

// The private PostgreSQL server of the tests (tests/support/pg-server.sh,
// started by ctest's fixture pg_server). KV_PG_CONNINFO names another server
// to use instead; its superuser must be able to create databases and roles.
// Without either the functions throw std::runtime_error, so a PostgreSQL
// test fails when its server is missing, never passes unseen.

// The superuser's connection string (database postgres).
QString pgAdminConninfo();
// The socket folder of the private server.
QString pgSocketDir();
// The password of the role kv_locked (the only role that needs one).
QString pgLockedPassword();

// A database of its own for one test: created empty on construction,
// dropped (with its sessions) on destruction.
class PgTestDatabase
{
public:
    PgTestDatabase();
    ~PgTestDatabase();
    PgTestDatabase(const PgTestDatabase&) = delete;
    PgTestDatabase& operator=(const PgTestDatabase&) = delete;

    const QString& name() const { return m_name; }
    // The superuser's connection string for this database.
    QString conninfo() const;

private:
    QString m_name;
};

} // namespace kvtest
