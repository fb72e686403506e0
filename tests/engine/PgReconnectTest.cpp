// The company data's server connection lost under the reader (the session
// ended by the server, the server down or refusing at the retry): the read
// that finds it fails saying so and leaves the cursors as they were, the
// next connects afresh to the same version, so the same rows stand at the
// same positions, and a version dropped meanwhile gives way to the current
// one, saying so, with each cursor reading its set again.
#include "tests/support/ErrorKind.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/TestBackend.h"

#include "core/Error.h"
#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgWaitHook.h"
#include "engine/ServerDirectory.h"
#include "engine/Statement.h"
#include "engine/TableCursor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using kv::engine::Database;
using kv::engine::PgConnection;
using kv::engine::Statement;
using kv::engine::TableCursor;

namespace
{

// The company set loaded into a database of its own, a reader of it and the
// server's administrator.
struct Loaded {
    Loaded()
    {
        build.companySet();
        build.openReadOnly(true);
        kvtest::loadIntoServer(build.path(), server.conninfo());
        db.openServer(server.conninfo());
        version = db.directory()->version();
    }
    kvtest::CompanyDb build;
    kvtest::PgTestDatabase server;
    PgConnection admin{server.conninfo()};
    Database db;
    QString version; // the one the reader pinned
};

qint64 sessionOf(Database& db)
{
    Statement pid(db, "SELECT pg_backend_pid()");
    return pid.step() ? pid.int64(0) : 0;
}

// Ends the reader's session as an administrator (or a restart) would.
void endSession(PgConnection& admin, qint64 pid)
{
    ASSERT_EQ(admin.query("SELECT pg_terminate_backend($1, 10000)", {pid}).text(0, 0), "t");
}

QList<qint64> penos(TableCursor& c)
{
    QList<qint64> out;
    for (int p = 1; p <= c.recordCount(); ++p)
        out << c.rowAt(p).value("peno").toLongLong();
    return out;
}

QString currentVersion(PgConnection& admin)
{
    return admin.query("SELECT schema_name FROM kvelta.version").text(0, 0);
}

bool schemaExists(PgConnection& admin, const QString& schema)
{
    return admin.query("SELECT count(*) FROM pg_namespace WHERE nspname = $1", {schema})
               .int64(0, 0) == 1;
}

// A folder standing for the server's socket folder: the server is up while
// its socket is linked there, down when not, and silent (accepts, never
// answers) while a socket of the test's own listens there instead.
class SocketFolder
{
public:
    SocketFolder()
    {
        const QDir real(kvtest::pgSocketDir());
        for (const QString& name : real.entryList({".s.PGSQL.*"}, QDir::System | QDir::Hidden))
            if (!name.endsWith(".lock"))
                m_name = name;
        m_target = real.filePath(m_name);
        up();
    }
    ~SocketFolder() { quiet(); }
    QString conninfo(const QString& base) const { return base + " host=" + m_dir.path(); }
    bool up() { return QFile::link(m_target, path()); }
    void down() { QFile::remove(path()); }
    bool silent()
    {
        down();
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path().toLocal8Bit().constData(), sizeof address.sun_path);
        return m_fd >= 0 &&
               ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
               ::listen(m_fd, 8) == 0;
    }
    void quiet()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
            down();
        }
    }

private:
    QString path() const { return m_dir.filePath(m_name); }
    QTemporaryDir m_dir;
    QString m_name;
    QString m_target;
    int m_fd = -1;
};

class CancellingHook : public kv::engine::PgWaitHook
{
public:
    bool wait(std::chrono::milliseconds) override { return true; }
    QString cancelledMessage() const override { return QStringLiteral("Zrušeno uživatelem"); }
};

} // namespace

TEST(PgReconnect, AnEndedSessionFailsTheNextReadAndTheOneAfterReadsTheSameRows)
{
    Loaded l;
    PgConnection& admin = l.admin;
    Database& db = l.db;
    const QString version = l.version;
    TableCursor firms(db, "firma");
    firms.setSort("nazev");
    firms.setFilter("misto <> 'Cheb'", true);
    TableCursor persons(db, "osoby");
    persons.setSort("sortno");
    persons.setMaster(&firms, "peno");
    firms.open();
    persons.open();
    const QList<qint64> before = penos(firms);
    ASSERT_EQ(before, (QList<qint64>{3, 2, 1, 5, 4, 200219}));
    firms.setPosition(3);
    ASSERT_EQ(persons.recordCount(), 2);
    Statement named(db, "SELECT nazev FROM firma WHERE peno = $1");
    named.bind(1, 5);
    ASSERT_TRUE(named.step());
    named.reset();
    const qint64 first = sessionOf(db);

    endSession(admin, first);
    // The move needs the persons of the next firm: it fails, and neither
    // cursor moved.
    const QString lost = kvtest::engineErrorOf([&] { firms.setPosition(2); });
    EXPECT_TRUE(lost.contains("was lost")) << lost.toStdString();
    EXPECT_EQ(firms.position(), 3);
    EXPECT_EQ(firms.int64("peno"), 1);
    EXPECT_EQ(persons.recordCount(), 2);
    EXPECT_EQ(persons.text("osoba"), "Eva Malá");

    // The next action connects again, to the same version: the cursors'
    // statements prepared on the lost connection run on the new one.
    firms.setPosition(2);
    EXPECT_EQ(firms.int64("peno"), 2);
    ASSERT_EQ(persons.recordCount(), 1);
    EXPECT_EQ(persons.text("osoba"), "Petr Čech");
    EXPECT_TRUE(named.step());
    EXPECT_EQ(named.text(0), "Hrad a.s.");
    EXPECT_NE(sessionOf(db), first);
    EXPECT_EQ(db.directory()->version(), version);
    EXPECT_EQ(db.versionEpoch(), 0u);
    firms.refresh();
    EXPECT_EQ(penos(firms), before);
    EXPECT_EQ(firms.filter(), "misto <> 'Cheb'");
}

TEST(PgReconnect, AReplacedVersionIsPinnedAgainAndHeldAgainstTheNextLoad)
{
    Loaded l;
    PgConnection& admin = l.admin;
    Database& db = l.db;
    const QString version = l.version;
    TableCursor firms(db, "firma");
    firms.setSort("nazev");
    firms.open();
    ASSERT_EQ(firms.recordCount(), 7);
    kvtest::CompanyDb::change(l.build.path(),
                              "INSERT INTO firma (peno, nazev, misto) VALUES (7, 'Nová', 'Brno')");
    kvtest::loadIntoServer(l.build.path(), l.server.conninfo());
    ASSERT_NE(currentVersion(admin), version);

    endSession(admin, sessionOf(db));
    EXPECT_TRUE(kvtest::engineErrorOf([&] { firms.refresh(); }).contains("was lost"));
    firms.refresh();
    EXPECT_EQ(firms.recordCount(), 7);
    EXPECT_EQ(db.directory()->version(), version);
    // The new session is younger than the switch, so a load still waiting
    // for the older readers would then drop the version under it: its hold
    // on the tables makes the drop wait, and give up as a load's does.
    admin.exec("SET lock_timeout = '1s'");
    const auto dropped =
        admin.tryQuery(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(admin.identifier(version)));
    EXPECT_EQ(dropped.sqlState(), "55P03");
    EXPECT_TRUE(schemaExists(admin, version));
    firms.refresh();
    EXPECT_EQ(firms.recordCount(), 7);
}

TEST(PgReconnect, AVersionDroppedMeanwhileGivesWayToTheCurrentOneAndTheCursorsReadAgain)
{
    Loaded l;
    PgConnection& admin = l.admin;
    Database& db = l.db;
    const QString version = l.version;
    TableCursor firms(db, "firma");
    firms.setSort("nazev");
    firms.setFilter("misto = 'Brno'", true);
    firms.open();
    ASSERT_EQ(penos(firms), (QList<qint64>{2, 5}));
    firms.last();
    kvtest::CompanyDb::change(l.build.path(),
                              "INSERT INTO firma (peno, nazev, misto) VALUES (7, 'Brána', 'Brno')");
    kvtest::loadIntoServer(l.build.path(), l.server.conninfo());
    const QString newer = currentVersion(admin);

    endSession(admin, sessionOf(db));
    admin.exec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(admin.identifier(version)));
    EXPECT_TRUE(kvtest::engineErrorOf([&] { firms.refresh(); }).contains("was lost"));
    const QString changed = kvtest::engineErrorOf([&] { firms.refresh(); });
    EXPECT_TRUE(changed.contains("removed by a newer load")) << changed.toStdString();
    EXPECT_TRUE(changed.contains(newer)) << changed.toStdString();
    EXPECT_EQ(db.directory()->version(), newer);
    EXPECT_EQ(db.versionEpoch(), 1u);
    // The old row ids mean nothing in the new version: not read by them.
    EXPECT_EQ(firms.position(), 2);
    EXPECT_KV_ERROR(firms.rowAt(1), Engine);

    // The next move reads the set again with the same filter and sort.
    firms.last();
    EXPECT_EQ(penos(firms), (QList<qint64>{7, 2, 5}));
    EXPECT_EQ(firms.position(), 3);
    EXPECT_EQ(firms.text("nazev"), "Hrad a.s.");
}

TEST(PgReconnect, AServerDownRefusingOrSilentAtTheRetrySaysSoAndALaterActionConnects)
{
    Loaded l;
    SocketFolder folder;
    PgConnection& admin = l.admin;
    Database& db = l.db;
    db.openServer(folder.conninfo(l.server.conninfo())); // through the folder
    TableCursor firms(db, "firma");
    firms.setSort("nazev");
    firms.open();
    const QList<qint64> before = penos(firms);
    firms.setPosition(4);

    folder.down();
    endSession(admin, sessionOf(db));
    EXPECT_TRUE(kvtest::engineErrorOf([&] { firms.refresh(); }).contains("was lost"));
    const QString down = kvtest::engineErrorOf([&] { firms.refresh(); });
    EXPECT_TRUE(down.startsWith("cannot reach the PostgreSQL server")) << down.toStdString();
    EXPECT_EQ(firms.position(), 4);

    ASSERT_TRUE(folder.up());
    PgConnection root(kvtest::pgAdminConninfo());
    root.exec(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(l.server.name()));
    const QString refused = kvtest::engineErrorOf([&] { firms.refresh(); });
    EXPECT_TRUE(refused.contains("refused the login")) << refused.toStdString();
    root.exec(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(l.server.name()));

    // A server that never answers: the user's Cancel in the waiting window.
    ASSERT_TRUE(folder.silent());
    {
        CancellingHook hook;
        EXPECT_EQ(kvtest::engineErrorOf([&] { firms.refresh(); }), "Zrušeno uživatelem");
    }
    folder.quiet();
    ASSERT_TRUE(folder.up());
    EXPECT_EQ(firms.position(), 4);
    EXPECT_EQ(penos(firms), before);
    firms.refresh();
    EXPECT_EQ(penos(firms), before);
    EXPECT_EQ(db.versionEpoch(), 0u);
}

TEST(PgReconnect, AfterTheSwitchListsSortByTheCurrentVersionsSortTables)
{
    Loaded l;
    PgConnection& admin = l.admin;
    Database& db = l.db;
    const QString version = l.version;
    TableCursor firms(db, "firma");
    firms.setSort("nazev");
    firms.open();
    ASSERT_TRUE(db.hasRank("firma", "nazev"));
    ASSERT_EQ(firms.recordCount(), 7);
    // The next version has a firm more, ranked last by name.
    kvtest::CompanyDb::change(l.build.path(),
                              "INSERT INTO firma (peno, nazev, misto) VALUES (8, 'Žabka', 'Brno')",
                              {}, true);
    kvtest::loadIntoServer(l.build.path(), l.server.conninfo());

    endSession(admin, sessionOf(db));
    admin.exec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(admin.identifier(version)));
    EXPECT_TRUE(kvtest::engineErrorOf([&] { firms.refresh(); }).contains("was lost"));
    EXPECT_TRUE(
        kvtest::engineErrorOf([&] { firms.refresh(); }).contains("removed by a newer load"));

    // The ranks read from the old version would leave the new firm out.
    EXPECT_EQ(db.rankedRows("firma"), 8);
    firms.first();
    ASSERT_EQ(firms.recordCount(), 8);
    EXPECT_EQ(penos(firms).last(), 8);
}
