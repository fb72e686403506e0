#pragma once

#include "engine/Database.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/PgTestServer.h"

#include <memory>
#include <string>
#include <vector>

namespace kvtest
{

// Where a suite reads the company database it built: the SQLite file itself,
// or that file loaded into a database on the test server. The same suite
// source is compiled into a SQLite program (test_engine, test_domain,
// test_reports) and into its server twin with KV_TEST_ON_SERVER
// (test_engine_pg, test_domain_pg, test_reports_pg), so both run every case.
enum class Backend { Sqlite, Server };

struct BackendCase {
    Backend backend = Backend::Sqlite;
    bool ranks = true; // SQLite: finished with the Czech rank tables, or not
};

// The cases this test program runs: SQLite with and without ranks, or the
// server (loaded from the file finished with ranks, which it copies).
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
    QString conninfo() const { return m_conninfo; }

private:
    QString m_conninfo;
    std::unique_ptr<kv::engine::Database> m_db;
};

// A read connection to the company database file `path` (finished as it is),
// or to its server copy.
std::unique_ptr<kv::engine::Database> openOn(const QString& path, const BackendCase& on);

// Points the program's settings at the company data of `path` for the data
// module: on SQLite the data home's own file is read (path is that file), on
// the server settings().database names the file's server copy.
void serveCompanyData(const QString& path, const BackendCase& on);
// The same for a CompanyDb made as a data home, finished first; its
// openDataModule() then opens the case's backend.
void serveCompanyData(CompanyDb& build, const BackendCase& on);

// The server database holding a load of the SQLite file `path` (as `kvelta db
// load` makes it), by its superuser's connection string. One per file
// contents: the first process to ask loads it, later ones (every case of a
// suite is a process of its own under ctest) find it, and it stays until the
// server stops. Only for readers: nothing may change it.
QString serverCopy(const QString& path);

// Loads the SQLite file `path` into the server's database `conninfo` as
// `kvelta db load` does.
void loadIntoServer(const QString& path, const QString& conninfo);

} // namespace kvtest
