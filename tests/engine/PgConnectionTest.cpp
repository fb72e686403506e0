// The PostgreSQL connection: what a user reads when the server is down, the
// login is refused or the connection is lost, and that a transaction or a
// copy that does not finish leaves nothing behind.
#include "tests/support/ErrorKind.h"
#include "tests/support/PgTestServer.h"

#include "core/Error.h"
#include "engine/PgConnection.h"
#include "engine/PgCopyIn.h"
#include "engine/PgTransaction.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::engine::PgConnection;

namespace
{

// The message of the kv::Error that connecting with conninfo throws.
QString connectError(const QString& conninfo)
{
    try {
        PgConnection c(conninfo);
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine);
        return e.message();
    }
    ADD_FAILURE() << "connected: " << conninfo.toStdString();
    return {};
}

qint64 count(PgConnection& c, const QString& table)
{
    return c.query(QStringLiteral("SELECT count(*) FROM %1").arg(table)).int64(0, 0);
}

} // namespace

TEST(PgConnection, ServerDownOrLoginRefusedSaySoAndNameWhere)
{
    // No server on an empty socket folder.
    QTemporaryDir empty;
    const QString down = connectError(QStringLiteral("host=%1 dbname=postgres").arg(empty.path()));
    EXPECT_TRUE(down.startsWith("cannot reach the PostgreSQL server on socket"))
        << down.toStdString();
    EXPECT_TRUE(down.contains(empty.path() + "/.s.PGSQL.")) << down.toStdString();
    EXPECT_FALSE(down.contains('\n'));

    const QString sock = kvtest::pgSocketDir();
    const QString noRole =
        connectError(QStringLiteral("host=%1 user=nobody_here dbname=postgres").arg(sock));
    EXPECT_TRUE(noRole.contains("refused the login of user \"nobody_here\""))
        << noRole.toStdString();
    EXPECT_TRUE(noRole.contains("role \"nobody_here\" does not exist")) << noRole.toStdString();

    const QString secret = QStringLiteral("wrong-secret-%1").arg(42);
    const QString badPassword = connectError(
        QStringLiteral("host=%1 user=kv_locked password=%2 dbname=postgres").arg(sock, secret));
    EXPECT_TRUE(badPassword.contains("refused the login of user \"kv_locked\""))
        << badPassword.toStdString();
    EXPECT_TRUE(badPassword.contains("password authentication failed"))
        << badPassword.toStdString();
    EXPECT_FALSE(badPassword.contains(secret)) << "the password is never repeated";

    const QString noPassword =
        connectError(QStringLiteral("host=%1 user=kv_locked dbname=postgres").arg(sock));
    EXPECT_TRUE(noPassword.contains("refused the login")) << noPassword.toStdString();

    const QString noDatabase =
        connectError(QStringLiteral("%1 dbname=no_such_db").arg(kvtest::pgAdminConninfo()));
    EXPECT_TRUE(noDatabase.contains("database \"no_such_db\" does not exist"))
        << noDatabase.toStdString();

    // The right password opens it: the refusals above were about the login.
    PgConnection ok(QStringLiteral("host=%1 user=kv_locked password=%2 dbname=postgres")
                        .arg(sock, kvtest::pgLockedPassword()));
    EXPECT_EQ(ok.query("SELECT current_user").text(0, 0), "kv_locked");
    EXPECT_TRUE(ok.describe().contains("user \"kv_locked\"")) << ok.describe().toStdString();
}

TEST(PgConnection, LostConnectionIsReportedAsSuch)
{
    kvtest::PgTestDatabase db;
    PgConnection victim(db.conninfo());
    const qint64 pid = victim.query("SELECT pg_backend_pid()").int64(0, 0);
    PgConnection admin(db.conninfo());
    EXPECT_EQ(admin.query("SELECT pg_terminate_backend($1)", {pid}).text(0, 0), "t");
    try {
        victim.query("SELECT 1");
        FAIL() << "a terminated connection answered";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine);
        EXPECT_TRUE(e.message().contains("connection to the PostgreSQL server on socket"))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("was lost")) << e.message().toStdString();
    }
    // A rejected command on a healthy connection is not called a lost one.
    try {
        admin.exec("SELECT * FROM no_such_table");
        FAIL() << "the server took a query on a missing table";
    } catch (const kv::Error& e) {
        EXPECT_FALSE(e.message().contains("lost")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("no_such_table")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("SQLSTATE 42P01")) << e.message().toStdString();
    }
    EXPECT_EQ(admin.query("SELECT 7").int64(0, 0), 7);
}

TEST(PgConnection, UnfinishedTransactionAndCopyLeaveNothing)
{
    kvtest::PgTestDatabase db;
    PgConnection c(db.conninfo());
    c.exec("CREATE TABLE t (n bigint, s text)");
    {
        kv::engine::PgTransaction tx(c);
        c.exec("INSERT INTO t VALUES (1, 'a')");
    }
    EXPECT_EQ(count(c, "t"), 0);
    {
        kv::engine::PgTransaction tx(c);
        c.exec("INSERT INTO t VALUES (1, 'a')");
        tx.commit();
    }
    EXPECT_EQ(count(c, "t"), 1);

    {
        kv::engine::PgCopyIn copy(c, "t", {"n", "s"});
        for (int i = 0; i < 100; ++i) {
            copy.add(qint64(i));
            copy.add(QStringLiteral("row %1").arg(i));
            copy.endRow();
        }
    } // cancelled
    EXPECT_EQ(count(c, "t"), 1);

    kv::engine::PgCopyIn copy(c, "t", {"n", "s"});
    copy.add(qint64(5));
    EXPECT_KV_ERROR(copy.endRow(), Engine); // one value short
    copy.add(QStringLiteral("five"));
    copy.endRow();
    EXPECT_EQ(copy.finish(), 1);
    EXPECT_EQ(count(c, "t"), 2);
    EXPECT_KV_ERROR(kv::engine::PgCopyIn(c, "no_such_table", {"n"}), Engine);
    EXPECT_EQ(c.query("SELECT 1").rows(), 1) << "the connection is usable after a refused copy";
}
