// kvelta db load: a demo home arrives complete (rows per table, peno sum,
// Czech collation, keys and indexes), readers may only read, and bad
// arguments, a missing database or an unreachable server end with a clear
// message and the documented exit code.
#include "tests/cli/PgLoadProbe.h"
#include "tests/support/DemoHome.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::engine::PgConnection;

TEST(DbLoadCommand, LoadsEveryTableOfADemoHome)
{
    const QString home = kvtest::demoHome(60);
    kvtest::PgTestDatabase db;
    const kvtest::LoadRun r = kvtest::dbLoad({"--home", home, db.conninfo()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Loaded 15 tables with ")) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("/15 firma: 60 rows")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("is the current version")) << r.err.toStdString();

    PgConnection c(db.conninfo());
    const QString version = kvtest::currentVersion(c);
    ASSERT_FALSE(version.isEmpty());
    EXPECT_TRUE(r.out.contains(version));
    const auto expected = kvtest::sqliteCounts(home);
    EXPECT_EQ(expected.size(), 15u);
    EXPECT_EQ(kvtest::pgCounts(c, version), kvtest::loadedCounts(home));
    EXPECT_TRUE(r.err.contains("quick find: 60 firms")) << r.err.toStdString();
    EXPECT_EQ(expected.at("firma"), 60);
    EXPECT_GT(expected.at("osoby"), 0);
    EXPECT_EQ(kvtest::pgPenoSum(c, version), kvtest::sqlitePenoSum(home));

    // Texts sort in Czech order; the program's lookup indexes and keys are there.
    EXPECT_EQ(c.query("SELECT collation_name FROM information_schema.columns WHERE "
                      "table_schema = $1 AND table_name = 'firma' AND column_name = 'nazev'",
                      {version})
                  .text(0, 0),
              "cs-CZ-x-icu");
    EXPECT_EQ(c.query("SELECT data_type FROM information_schema.columns WHERE table_schema = $1 "
                      "AND table_name = 'firma' AND column_name = 'peno'",
                      {version})
                  .text(0, 0),
              "bigint");
    EXPECT_EQ(c.query("SELECT count(*) FROM pg_indexes WHERE schemaname = $1 AND indexname = "
                      "'ix_firma_nazev'",
                      {version})
                  .int64(0, 0),
              1);
    EXPECT_EQ(c.query("SELECT count(*) FROM information_schema.table_constraints WHERE "
                      "table_schema = $1 AND table_name = 'firma' AND constraint_type = "
                      "'PRIMARY KEY'",
                      {version})
                  .int64(0, 0),
              1);
    // The same firm text by text: a sample row survives the copy unchanged.
    kv::engine::Database sqlite(kvtest::companyDb(home));
    kv::engine::Statement row(sqlite, "SELECT peno, nazev, ulice, misto FROM firma "
                                      "ORDER BY peno DESC LIMIT 1");
    ASSERT_TRUE(row.step());
    const auto pg = c.query(
        QStringLiteral("SELECT nazev, ulice, misto FROM %1.firma WHERE peno = $1").arg(version),
        {row.int64(0)});
    ASSERT_EQ(pg.rows(), 1);
    EXPECT_EQ(pg.text(0, 0), row.text(1));
    EXPECT_EQ(pg.text(0, 1), row.text(2));
    EXPECT_EQ(pg.text(0, 2), row.text(3));
}

TEST(DbLoadCommand, TheReadersRoleMayOnlyRead)
{
    kvtest::PgTestDatabase db;
    ASSERT_EQ(kvtest::dbLoad({"--home", kvtest::demoHome(20), db.conninfo()}).code, 0);
    PgConnection c(db.conninfo());
    const QString version = kvtest::currentVersion(c);
    c.exec("SET ROLE kvelta_reader");
    EXPECT_EQ(c.query(QStringLiteral("SELECT count(*) FROM %1.firma").arg(version)).int64(0, 0),
              20);
    EXPECT_EQ(kvtest::currentVersion(c), version) << "readers find the current version";
    for (const QString& write :
         {QStringLiteral("DELETE FROM %1.firma").arg(version),
          QStringLiteral("UPDATE %1.firma SET nazev = 'x'").arg(version),
          QStringLiteral("INSERT INTO %1.osoby (peno) VALUES (1)").arg(version),
          QStringLiteral("UPDATE kvelta.version SET schema_name = 'x'"),
          QStringLiteral("CREATE TABLE %1.mine (a int)").arg(version)}) {
        const auto refused = c.tryQuery(write);
        EXPECT_EQ(refused.sqlState(), "42501") << write.toStdString();
    }
    c.exec("RESET ROLE");
    EXPECT_EQ(
        c.query("SELECT rolcanlogin FROM pg_roles WHERE rolname = 'kvelta_reader'").text(0, 0),
        "f");
}

TEST(DbLoadCommand, ArgumentsMissingFilesAndServersAreReported)
{
    const QString home = kvtest::demoHome(5);
    kvtest::LoadRun r = kvtest::dbLoad({"--home", home});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("usage: kvelta db load")) << r.err.toStdString();
    r = kvtest::dbLoad({"--home", home, "--wait", "soon", "host=/nowhere"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("--wait")) << r.err.toStdString();

    r = kvtest::dbLoad({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.out.contains("kvelta_reader")) << r.out.toStdString();

    QTemporaryDir emptyHome;
    r = kvtest::dbLoad({"--home", emptyHome.path(), kvtest::pgAdminConninfo()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("Dta/KV2001.db")) << r.err.toStdString();

    QTemporaryDir noServer;
    r = kvtest::dbLoad({"--home", home, QStringLiteral("host=%1 dbname=x").arg(noServer.path())});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("kvelta db load: cannot reach the PostgreSQL server"))
        << r.err.toStdString();

    // A URL as well as a keyword string; the password never shows.
    r = kvtest::dbLoad({"--home", home,
                        QStringLiteral("postgresql://kv_locked:s3cret-pw@/postgres?host=%1")
                            .arg(kvtest::pgSocketDir())});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("refused the login of user \"kv_locked\"")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("s3cret-pw"));
}
