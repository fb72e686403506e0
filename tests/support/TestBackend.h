#pragma once

#include "engine/Database.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/PgTestServer.h"

#include <memory>
#include <string>
#include <vector>

namespace kvtest
{

// Where an engine suite reads the company database it built: the SQLite file
// itself, or that file loaded into a database of its own on the test server.
// The same suite source is compiled into test_engine (SQLite) and into
// test_engine_pg with KV_TEST_ON_SERVER (the server), so both run every case.
enum class Backend { Sqlite, Server };

struct BackendCase {
    Backend backend = Backend::Sqlite;
    bool ranks = true; // SQLite: finished with the Czech rank tables, or not
};

// The cases this test program runs: SQLite with and without ranks, or the
// server (which has no rank tables).
inline std::vector<BackendCase> backendCases()
{
#ifdef KV_TEST_ON_SERVER
    return {{Backend::Server, true}};
#else
    return {{Backend::Sqlite, true}, {Backend::Sqlite, false}};
#endif
}

// One case per engine, where the ranks do not matter (SQLite finished).
inline std::vector<BackendCase> engineCases()
{
#ifdef KV_TEST_ON_SERVER
    return {{Backend::Server, true}};
#else
    return {{Backend::Sqlite, true}};
#endif
}

inline std::string backendCaseName(const BackendCase& c)
{
    if (c.backend == Backend::Server)
        return "Server";
    return c.ranks ? "WithRanks" : "Collator";
}

// The read connection to what `build` holds, on the case's backend.
class BackendDb
{
public:
    BackendDb(CompanyDb& build, const BackendCase& on);
    ~BackendDb();
    kv::engine::Database& db() { return *m_db; }
    // The server's superuser connection string (Backend::Server only).
    QString conninfo() const;

private:
    std::unique_ptr<PgTestDatabase> m_server;
    std::unique_ptr<kv::engine::Database> m_db;
};

// Loads the SQLite file `path` into the server's database `conninfo` as
// `kvelta db load` does.
void loadIntoServer(const QString& path, const QString& conninfo);

} // namespace kvtest
