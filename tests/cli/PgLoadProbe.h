#pragma once

// What the tests of kvelta db load compare: a table's rows and peno sum in
// the SQLite file and in the version the server calls current.

#include "tests/support/DemoHome.h"
#include "tests/support/KveltaRun.h"
#include "tests/support/PgTestServer.h"

#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgRankTables.h"
#include "engine/Schema.h"
#include "engine/SqliteCatalog.h"
#include "engine/Statement.h"

#include <QDir>
#include <gtest/gtest.h>
#include <map>

namespace kvtest
{

using LoadRun = KveltaRun;

// kvelta db load, run as the real program (its progress goes to a pipe, so
// one line per table whatever the test's own terminal is).
inline LoadRun dbLoad(const QStringList& args)
{
    return runKvelta(QStringList{"db", "load"} + args);
}

// A demo home of `firms` firms loaded into server by the real kvelta db
// load; empty, and the test failed, when the load fails.
inline QString demoHomeOnServer(const PgTestDatabase& server, int firms)
{
    const QString home = demoHome(firms);
    const LoadRun loaded = dbLoad({"--home", home, server.conninfo()});
    EXPECT_EQ(loaded.code, 0) << loaded.err.toStdString();
    return loaded.code == 0 ? home : QString();
}

inline QString companyDb(const QString& home)
{
    return QDir(home).filePath("Dta/KV2001.db");
}

// Rows per data table of a company database.
inline std::map<QString, qint64> sqliteCounts(const QString& home)
{
    kv::engine::Database db(companyDb(home));
    std::map<QString, qint64> counts;
    for (const auto& t : kv::engine::SqliteCatalog::tables(db))
        counts[t.name] = kv::engine::SqliteCatalog::rowCount(db, t.name);
    return counts;
}

// What a load of that home puts on the server: its tables, quick find's
// table with one row per firm, and the Czech rank tables the file trusts
// (a row per ranked table, as many rows as it) with their list and their
// columns packed in chunks.
inline std::map<QString, qint64> loadedCounts(const QString& home)
{
    std::map<QString, qint64> counts = sqliteCounts(home);
    counts[QStringLiteral("kv_quickfind")] = counts[QStringLiteral("firma")];
    kv::engine::Database db(companyDb(home));
    qint64 ranked = 0, chunks = 0;
    for (const kv::engine::TableInfo& t : kv::engine::Schema::tables()) {
        bool any = false;
        for (const QString& f : t.rankedFields())
            if (db.hasRank(t.name, f)) {
                any = true;
                chunks += (counts[t.name] + kv::engine::PgRankTables::ChunkRows - 1) /
                          kv::engine::PgRankTables::ChunkRows;
            }
        if (any) {
            counts[kv::engine::Schema::rankTable(t.name)] = counts[t.name];
            ++ranked;
        }
    }
    if (ranked > 0) {
        counts[QStringLiteral("kv_ranked")] = ranked;
        counts[QStringLiteral("kv_rank_order")] = chunks;
    }
    return counts;
}

inline qint64 sqlitePenoSum(const QString& home)
{
    kv::engine::Database db(companyDb(home));
    kv::engine::Statement st(db, "SELECT sum(peno) FROM firma");
    st.step();
    return st.int64(0);
}

inline QString currentVersion(kv::engine::PgConnection& c)
{
    const auto r = c.query("SELECT schema_name FROM kvelta.version");
    return r.rows() == 1 ? r.text(0, 0) : QString();
}

// Rows per table of a version schema.
inline std::map<QString, qint64> pgCounts(kv::engine::PgConnection& c, const QString& schema)
{
    std::map<QString, qint64> counts;
    const auto tables = c.query(
        "SELECT table_name FROM information_schema.tables WHERE table_schema = $1", {schema});
    for (int r = 0; r < tables.rows(); ++r) {
        const QString t = tables.text(r, 0);
        counts[t] = c.query(QStringLiteral("SELECT count(*) FROM %1.%2")
                                .arg(c.identifier(schema), c.identifier(t)))
                        .int64(0, 0);
    }
    return counts;
}

inline qint64 pgPenoSum(kv::engine::PgConnection& c, const QString& schema)
{
    return c
        .query(QStringLiteral("SELECT sum(peno)::bigint FROM %1.firma").arg(c.identifier(schema)))
        .int64(0, 0);
}

// The version schemas present, current or not.
inline QStringList versionSchemas(kv::engine::PgConnection& c)
{
    const auto r = c.query("SELECT nspname FROM pg_namespace WHERE nspname ~ '^kv_[0-9]{8}_' "
                           "ORDER BY 1");
    QStringList out;
    for (int i = 0; i < r.rows(); ++i)
        out << r.text(i, 0);
    return out;
}

} // namespace kvtest
