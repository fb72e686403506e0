// The company directory read from a PostgreSQL server: the connection pins
// the version current at its start for its life, a reader role may read
// it, and every way an open can fail says why (never with the password).
#include "tests/support/ErrorKind.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestBackend.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/QueryCursor.h"
#include "engine/TableCursor.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::engine::Database;
using kv::engine::PgConnection;
using kv::engine::TableCursor;

namespace
{

QString openError(const QString& conninfo)
{
    try {
        Database db;
        db.openServer(conninfo);
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine);
        return e.message();
    }
    ADD_FAILURE() << "opened " << conninfo.toStdString();
    return QString();
}

int firmCount(Database& db)
{
    TableCursor firms(db, "firma");
    firms.open();
    return firms.recordCount();
}

} // namespace

TEST(PgRead, KeepsItsVersionWhileALoadSwitchesToANewOne)
{
    kvtest::CompanyDb build;
    build.companySet();
    build.openReadOnly(true);
    kvtest::PgTestDatabase server;
    kvtest::loadIntoServer(build.path(), server.conninfo());

    Database early;
    early.openServer(server.conninfo());
    EXPECT_TRUE(early.isServer());
    EXPECT_TRUE(early.path().isEmpty());
    EXPECT_EQ(firmCount(early), 7);
    const QString version = early.describe().section("version ", 1);
    EXPECT_TRUE(version.startsWith("kv_")) << early.describe().toStdString();

    kvtest::CompanyDb::change(build.path(),
                              "INSERT INTO firma (peno, nazev, misto) VALUES (7, 'Nová', 'Brno')");
    kvtest::loadIntoServer(build.path(), server.conninfo());

    Database late;
    late.openServer(server.conninfo());
    EXPECT_EQ(firmCount(late), 8);
    EXPECT_NE(late.describe(), early.describe());
    // The early reader still reads its own complete version: the load kept it.
    EXPECT_EQ(firmCount(early), 7);
    PgConnection admin(server.conninfo());
    EXPECT_EQ(
        admin.query("SELECT count(*) FROM pg_namespace WHERE nspname = $1", {version}).int64(0, 0),
        1);
}

TEST(PgRead, AFailedStatementLeavesTheConnectionUsable)
{
    kvtest::CompanyDb build;
    build.companySet();
    kvtest::BackendDb on(build, {kvtest::Backend::Server, true});
    Database& db = on.db();
    // Accepted by the dialect, refused by the server (a number is no text).
    TableCursor firms(db, "firma");
    firms.setFilter("nazev > 5", true);
    EXPECT_THROW(firms.open(), kv::Error);
    kv::engine::QueryCursor q(db);
    q.setSql({"select peno from firma where misto = 'Brno'"});
    q.open();
    EXPECT_EQ(q.recordCount(), 2);
    EXPECT_EQ(firmCount(db), 7);
}

TEST(PgRead, AReaderRoleMemberReadsTheDirectory)
{
    kvtest::CompanyDb build;
    build.companySet();
    kvtest::BackendDb on(build, {kvtest::Backend::Server, true});
    PgConnection admin(on.conninfo());
    admin.exec("DO $$BEGIN CREATE ROLE kv_read_test LOGIN IN ROLE kvelta_reader; "
               "EXCEPTION WHEN duplicate_object THEN NULL; END$$");
    const QString dbname = admin.query("SELECT current_database()").text(0, 0);
    Database reader;
    reader.openServer(
        QStringLiteral("host=%1 user=kv_read_test dbname=%2").arg(kvtest::pgSocketDir(), dbname));
    EXPECT_EQ(firmCount(reader), 7);
    EXPECT_TRUE(reader.describe().contains("user \"kv_read_test\""));
}

TEST(PgRead, ServerDownRefusedLoginEmptyOrOldDatabaseSaySo)
{
    QTemporaryDir empty;
    const QString down = openError(QStringLiteral("host=%1 dbname=postgres").arg(empty.path()));
    EXPECT_TRUE(down.startsWith("cannot reach the PostgreSQL server")) << down.toStdString();

    const QString secret = QStringLiteral("not-the-secret-%1").arg(7);
    const QString refused =
        openError(QStringLiteral("host=%1 user=kv_locked password=%2 dbname=postgres")
                      .arg(kvtest::pgSocketDir(), secret));
    EXPECT_TRUE(refused.contains("refused the login of user \"kv_locked\""))
        << refused.toStdString();
    EXPECT_FALSE(refused.contains(secret));

    kvtest::PgTestDatabase server;
    const QString none = openError(server.conninfo());
    EXPECT_TRUE(none.contains("holds no loaded directory")) << none.toStdString();
    EXPECT_TRUE(none.contains("kvelta db load")) << none.toStdString();

    // A version loaded before the row ids existed is refused, not misread.
    kvtest::CompanyDb build;
    build.companySet();
    build.openReadOnly(true);
    kvtest::loadIntoServer(build.path(), server.conninfo());
    {
        PgConnection admin(server.conninfo());
        const QString version = admin.query("SELECT schema_name FROM kvelta.version").text(0, 0);
        admin.exec(QStringLiteral("ALTER TABLE %1.osoby DROP COLUMN kv_rowid")
                       .arg(admin.identifier(version)));
    }
    const QString old = openError(server.conninfo());
    EXPECT_TRUE(old.contains("without row ids (table osoby)")) << old.toStdString();
    EXPECT_TRUE(old.contains("load it again")) << old.toStdString();
}

TEST(PgRead, CursorsMayOutliveTheClosedConnection)
{
    // As a SQLite connection closed with statements left: the data module
    // closes its connection before the last cursors go.
    kvtest::CompanyDb build;
    build.companySet();
    kvtest::BackendDb on(build, {kvtest::Backend::Server, true});
    auto firms = std::make_unique<TableCursor>(on.db(), "firma");
    firms->setSort("nazev");
    firms->open();
    on.db().close();
    EXPECT_FALSE(on.db().isOpen());
    EXPECT_EQ(firms->rowAt(7).text("nazev"), "Stavby Kvelta"); // read before
    EXPECT_KV_ERROR(firms->setFilter("peno=5", true), Engine); // nothing new
    firms.reset(); // its statements end on the connection they came from
}
