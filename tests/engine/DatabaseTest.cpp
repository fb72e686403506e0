#include "tests/support/CompanyDb.h"

#include "engine/DatabaseSetup.h"
#include "engine/QueryCursor.h"
#include "engine/ReadTransaction.h"
#include "engine/Statement.h"
#include "tests/support/ErrorKind.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>

using namespace kv::engine;

TEST(Database, MissingFileFailsWithSqliteReason)
{
    QTemporaryDir dir;
    try {
        Database db(dir.filePath("nothing.db"));
        FAIL() << "opened a missing file";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine);
        EXPECT_TRUE(e.message().contains("unable to open")) << e.message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("nothing.db"))); // read-only never creates
}

TEST(Database, FileThatIsNotADatabaseFailsAtOpen)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("KV2001.db"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    Database db;
    try {
        db.open(f.fileName());
        FAIL() << "opened a file that is not a database";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine);
        EXPECT_TRUE(e.message().contains("not a database")) << e.message().toStdString();
    }
    EXPECT_FALSE(db.isOpen());
}

TEST(Database, CompanyDatabaseCannotBeWritten)
{
    kvtest::CompanyDb build;
    build.companySet();
    auto db = build.openReadOnly(true);

    Statement del(*db, "DELETE FROM firma");
    EXPECT_KV_ERROR(del.step(), Engine);
    EXPECT_KV_ERROR(db->exec("CREATE TABLE x(a)"), Engine);
    QueryCursor q(*db);
    q.setSql({"delete from firma"});
    EXPECT_KV_ERROR(q.open(), Engine);
    q.setSql({"select peno from firma"});
    q.open();
    EXPECT_EQ(q.recordCount(), 7);
}

TEST(Database, StatementRunsOneStatementOnly)
{
    kvtest::CompanyDb build;
    build.companySet();
    auto db = build.openReadOnly(false);
    EXPECT_KV_ERROR(Statement(*db, "SELECT 1; SELECT 2"), Engine);
    Statement ok(*db, "SELECT peno FROM firma WHERE nazev = :n");
    ok.bind(":n", QString("Ivan"));
    ASSERT_TRUE(ok.step());
    EXPECT_EQ(ok.integer(0), 6);
    EXPECT_FALSE(ok.step());
}

TEST(Database, ReadTransactionHoldsOneSnapshotAndLeavesAnOpenOneAlone)
{
    kvtest::CompanyDb build;
    build.companySet();
    std::unique_ptr<Database> db = build.openReadOnly(true);
    auto count = [](Database& d) {
        Statement st(d, "SELECT count(*) FROM firma");
        return st.step() ? st.int64(0) : -1;
    };
    {
        const ReadTransaction reading(*db);
        EXPECT_FALSE(sqlite3_get_autocommit(db->handle()));
        EXPECT_EQ(count(*db), 7);
        // A writer cannot change the rows under the reader meanwhile.
        EXPECT_THROW(kvtest::CompanyDb::change(build.path(), "DELETE FROM firma WHERE peno = 1"),
                     kv::Error);
        EXPECT_EQ(count(*db), 7);
    }
    EXPECT_TRUE(sqlite3_get_autocommit(db->handle()));
    kvtest::CompanyDb::change(build.path(), "DELETE FROM firma WHERE peno = 1");
    EXPECT_EQ(count(*db), 6);

    db->exec("SAVEPOINT outer_one");
    {
        const ReadTransaction inside(*db);
        EXPECT_FALSE(sqlite3_get_autocommit(db->handle()));
    }
    EXPECT_FALSE(sqlite3_get_autocommit(db->handle())); // the outer one is still open
    db->exec("RELEASE outer_one");
    EXPECT_TRUE(sqlite3_get_autocommit(db->handle()));
}

TEST(DatabaseSetup, FinishAddsRanksAndIsRepeatable)
{
    kvtest::CompanyDb build;
    build.companySet();
    build.finish();
    build.finish(); // a second run rebuilds instead of failing
    auto db = build.openReadOnly(false);
    EXPECT_TRUE(db->hasRank("firma", "nazev"));
    EXPECT_TRUE(db->hasRank("FIRMA", "Misto"));
    EXPECT_TRUE(db->hasRank("slnazev", "txt"));
    EXPECT_FALSE(db->hasRank("firma", "peno"));

    Statement st(*db, "SELECT f.nazev FROM firma f JOIN kv_rank_firma r ON r.rid = f.rowid"
                      " ORDER BY r.nazev");
    QStringList names;
    while (st.step())
        names << st.text(0);
    EXPECT_EQ(names, QStringList({"Cyril s.r.o.", "Čech a syn", "Dobrá firma", "Hrad a.s.",
                                  "Chrudimská", "Ivan", "Stavby Kvelta"}));
}

TEST(DatabaseSetup, ReportsFailureWithText)
{
    char* error = nullptr;
    EXPECT_FALSE(finishDatabase(nullptr, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_STRNE(error, "");
    sqlite3_free(error);
}
