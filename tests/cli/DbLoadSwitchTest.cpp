// A load replaces the directory in one step: a reader inside a transaction
// keeps the complete old version, new readers get the new one, a failed
// load changes nothing, and old versions go once nobody can read them.
#include "tests/cli/PgLoadProbe.h"
#include "tests/support/DemoHome.h"

#include "engine/PgTransaction.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using kv::engine::PgConnection;

TEST(DbLoadSwitch, AReaderKeepsTheOldVersionNewReadersGetTheNew)
{
    kvtest::PgTestDatabase db;
    const QString first = kvtest::demoHome(30, 7);
    const QString second = kvtest::demoHome(45, 8);
    ASSERT_EQ(kvtest::dbLoad({"--home", first, db.conninfo()}).code, 0);

    PgConnection reader(db.conninfo());
    kv::engine::PgTransaction tx(reader, "BEGIN ISOLATION LEVEL REPEATABLE READ");
    // The reader has only read the pointer, no table yet: nothing but the
    // loader's own care keeps the old tables for it.
    const QString old = kvtest::currentVersion(reader);
    ASSERT_FALSE(old.isEmpty());

    const kvtest::LoadRun r = kvtest::dbLoad({"--home", second, "--wait", "1", db.conninfo()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("replaces " + old)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("kept " + old)) << r.err.toStdString();

    // The open reader: the old pointer and the old rows, all of them.
    EXPECT_EQ(kvtest::currentVersion(reader), old);
    EXPECT_EQ(kvtest::pgCounts(reader, old), kvtest::loadedCounts(first));
    EXPECT_EQ(kvtest::pgPenoSum(reader, old), kvtest::sqlitePenoSum(first));

    // A new reader: the new version, complete.
    PgConnection fresh(db.conninfo());
    const QString now = kvtest::currentVersion(fresh);
    ASSERT_NE(now, old);
    EXPECT_EQ(kvtest::pgCounts(fresh, now), kvtest::loadedCounts(second));
    EXPECT_EQ(kvtest::pgPenoSum(fresh, now), kvtest::sqlitePenoSum(second));
    tx.commit();

    // With the reader gone the next load drops both older versions.
    const kvtest::LoadRun third = kvtest::dbLoad({"--home", second, db.conninfo()});
    ASSERT_EQ(third.code, 0) << third.err.toStdString();
    EXPECT_TRUE(third.err.contains("removed " + old)) << third.err.toStdString();
    EXPECT_TRUE(third.err.contains("removed " + now)) << third.err.toStdString();
    EXPECT_EQ(kvtest::versionSchemas(fresh), QStringList{kvtest::currentVersion(fresh)});
}

TEST(DbLoadSwitch, AFailedLoadLeavesTheCurrentVersionAlone)
{
    kvtest::PgTestDatabase db;
    const QString good = kvtest::demoHome(25, 3);
    ASSERT_EQ(kvtest::dbLoad({"--home", good, db.conninfo()}).code, 0);
    PgConnection c(db.conninfo());
    const QString before = kvtest::currentVersion(c);

    // A home whose next to last table holds a text where a number belongs:
    // the copy fails late, after most tables went in.
    QTemporaryDir bad;
    QDir().mkpath(bad.filePath("Dta"));
    ASSERT_TRUE(QFile::copy(kvtest::companyDb(good), bad.filePath("Dta/KV2001.db")));
    {
        kv::engine::Database w(bad.filePath("Dta/KV2001.db"),
                               kv::engine::Database::Mode::ReadWrite);
        w.exec("UPDATE slulice_p SET peno = 'not a number' WHERE rowid = (SELECT max(rowid) FROM "
               "slulice_p)");
    }
    const kvtest::LoadRun r = kvtest::dbLoad({"--home", bad.path(), db.conninfo()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("slulice_p")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("not a number")) << r.err.toStdString();
    EXPECT_EQ(kvtest::currentVersion(c), before);
    EXPECT_EQ(kvtest::versionSchemas(c), QStringList{before}) << "no half version is left";
    EXPECT_EQ(kvtest::pgCounts(c, before), kvtest::loadedCounts(good));
}

TEST(DbLoadSwitch, OneLoadAtATime)
{
    kvtest::PgTestDatabase db;
    PgConnection holder(db.conninfo());
    // The lock a running load holds.
    holder.query("SELECT pg_advisory_lock($1)", {qint64(0x4b56454c5441)});
    const kvtest::LoadRun r = kvtest::dbLoad({"--home", kvtest::demoHome(5), db.conninfo()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("another load into this database is running"))
        << r.err.toStdString();
    EXPECT_TRUE(kvtest::versionSchemas(holder).isEmpty());
}

TEST(DbLoadSwitch, TheLoadWaitsForOldReadersBeforeDroppingTheirVersion)
{
    kvtest::PgTestDatabase db;
    const QString home = kvtest::demoHome(20, 11);
    ASSERT_EQ(kvtest::dbLoad({"--home", home, db.conninfo()}).code, 0);
    PgConnection reader(db.conninfo());
    auto tx = std::make_unique<kv::engine::PgTransaction>(reader, "BEGIN");
    const QString old = kvtest::currentVersion(reader);

    QProcess load;
    load.start(QStringLiteral(KV_KVELTA_EXE),
               {"db", "load", "--home", home, "--wait", "120", db.conninfo()});
    ASSERT_TRUE(load.waitForStarted());
    // The switch is visible to a new session while the load still waits.
    PgConnection watcher(db.conninfo());
    for (int i = 0; i < 600 && kvtest::currentVersion(watcher) == old; ++i)
        QThread::msleep(100);
    ASSERT_NE(kvtest::currentVersion(watcher), old);
    EXPECT_TRUE(kvtest::versionSchemas(watcher).contains(old));
    EXPECT_EQ(kvtest::pgPenoSum(reader, old), kvtest::sqlitePenoSum(home));
    tx->commit();
    ASSERT_TRUE(load.waitForFinished(120000));
    const QString err = QString::fromUtf8(load.readAllStandardError());
    EXPECT_EQ(load.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(err.contains("removed " + old)) << err.toStdString();
    EXPECT_FALSE(kvtest::versionSchemas(watcher).contains(old));
}

TEST(DbLoadSwitch, ALoaderThatCannotSeeReadersKeepsOldVersions)
{
    // A loading role without pg_read_all_stats cannot tell whether another
    // session still reads the old version, so it keeps it.
    const QString role = QStringLiteral("kvt_loader_%1").arg(QCoreApplication::applicationPid());
    std::optional<kvtest::PgTestDatabase> db(std::in_place);
    {
        PgConnection admin(db->conninfo());
        admin.exec(QStringLiteral("DROP ROLE IF EXISTS %1").arg(role));
        admin.exec(QStringLiteral("CREATE ROLE %1 LOGIN CREATEROLE").arg(role));
        admin.exec(QStringLiteral("ALTER DATABASE %1 OWNER TO %2").arg(db->name(), role));
    }
    const QString url = db->conninfo() + QStringLiteral(" user=") + role;
    const QString home = kvtest::demoHome(10, 5);
    ASSERT_EQ(kvtest::dbLoad({"--home", home, url}).code, 0);
    PgConnection c(url);
    const QString first = kvtest::currentVersion(c);
    const kvtest::LoadRun r = kvtest::dbLoad({"--home", home, url});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("kept " + first + ": this role cannot see other sessions"))
        << r.err.toStdString();
    const QString second = kvtest::currentVersion(c);
    EXPECT_NE(second, first);
    EXPECT_EQ(kvtest::versionSchemas(c), QStringList({first, second}));
    EXPECT_EQ(kvtest::pgCounts(c, first), kvtest::loadedCounts(home));

    db.reset();
    PgConnection(kvtest::pgAdminConninfo()).exec(QStringLiteral("DROP ROLE %1").arg(role));
}
