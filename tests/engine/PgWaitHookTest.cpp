// Waiting for the server through the thread's hook: a statement blocked by
// a lock or asleep is cancelled when the hook asks, the error says so and
// the connection goes on; a connection ended by the server meanwhile is
// reported as lost; a connection attempt that gets no answer is cancelled
// or times out. The hook acts on what the server shows of the waiting
// backend (pg_stat_activity), never on elapsed time.
#include "tests/support/ErrorKind.h"
#include "tests/support/PgTestServer.h"

#include "core/Error.h"
#include "engine/PgConnection.h"
#include "engine/PgStatement.h"
#include "engine/PgTransaction.h"
#include "engine/PgWaitHook.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using kv::engine::PgConnection;
using kv::engine::PgWaitHook;

namespace
{

// Watches the backend pid from its own connection; once that backend waits
// for the event (a lock, pg_sleep), does what it was made for.
class WatchingHook : public PgWaitHook
{
public:
    enum class Act { Cancel, Terminate, Release };

    WatchingHook(PgConnection& watcher, qint64 pid, const QString& eventType, Act act)
        : m_watcher(watcher), m_pid(pid), m_eventType(eventType), m_act(act)
    {
    }

    bool wait(std::chrono::milliseconds) override
    {
        ++calls;
        // Statements of a hook run without it (no hook inside the hook).
        EXPECT_EQ(PgWaitHook::current(), nullptr);
        if (acted)
            return false;
        const kv::engine::PgResult seen =
            m_watcher.query("SELECT wait_event_type FROM pg_stat_activity WHERE pid = $1", {m_pid});
        if (seen.rows() != 1 || seen.text(0, 0) != m_eventType)
            return false;
        acted = true;
        if (m_act == Act::Terminate) {
            EXPECT_EQ(m_watcher.query("SELECT pg_terminate_backend($1)", {m_pid}).text(0, 0), "t");
        }
        if (m_act == Act::Release && release)
            release();
        return m_act == Act::Cancel;
    }
    void finished() override { ++finishedCalls; }

    int calls = 0;
    int finishedCalls = 0;
    bool acted = false;
    std::function<void()> release;

private:
    PgConnection& m_watcher;
    qint64 m_pid;
    QString m_eventType;
    Act m_act;
};

// Cancels at once: for a connection attempt nobody answers.
class CancellingHook : public PgWaitHook
{
public:
    bool wait(std::chrono::milliseconds) override { return true; }
    QString cancelledMessage() const override { return QStringLiteral("Zrušeno uživatelem"); }
};

qint64 backend(PgConnection& c)
{
    return c.query("SELECT pg_backend_pid()").int64(0, 0);
}

// A Unix socket in dir where a PostgreSQL server would listen, which
// accepts connections and never answers them.
class SilentServer
{
public:
    explicit SilentServer(const QString& dir)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = (dir + QStringLiteral("/.s.PGSQL.5432")).toLocal8Bit();
        qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
        listening = m_fd >= 0 &&
                    ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                    ::listen(m_fd, 8) == 0;
    }
    ~SilentServer() { ::close(m_fd); }
    bool listening = false;

private:
    int m_fd = -1;
};

} // namespace

TEST(PgWaitHook, CancelledStatementSaysSoAndTheConnectionGoesOn)
{
    kvtest::PgTestDatabase db;
    PgConnection victim(db.conninfo());
    victim.exec("CREATE TABLE t (n bigint); INSERT INTO t VALUES (1), (2)");
    PgConnection watcher(db.conninfo());
    PgConnection locker(db.conninfo());
    kv::engine::PgTransaction lock(locker);
    locker.exec("LOCK TABLE t IN ACCESS EXCLUSIVE MODE");
    {
        WatchingHook hook(watcher, backend(victim), "Lock", WatchingHook::Act::Cancel);
        const QString cancelled =
            kvtest::engineErrorOf([&] { victim.query("SELECT count(*) FROM t"); });
        EXPECT_EQ(cancelled, "the statement was cancelled by the user");
        EXPECT_TRUE(hook.acted);
        EXPECT_EQ(hook.finishedCalls, 1);

        // Same connection, lock still held: a statement that needs no lock runs.
        EXPECT_EQ(victim.query("SELECT 7").int64(0, 0), 7);
        EXPECT_EQ(victim.query("SELECT count(*) FROM pg_class WHERE relname = 't'").int64(0, 0), 1);
    }
    {
        // A prepared statement asleep, inside a transaction: the transaction
        // has failed as after any rejected statement, the connection has not.
        WatchingHook hook(watcher, backend(victim), "Timeout", WatchingHook::Act::Cancel);
        kv::engine::PgTransaction tx(victim);
        kv::engine::PgStatement sleeping(victim, "SELECT pg_sleep($1)");
        sleeping.bind(1, 3600);
        EXPECT_TRUE(
            kvtest::engineErrorOf([&] { sleeping.run(); }).contains("cancelled by the user"));
        EXPECT_TRUE(hook.acted);
        EXPECT_TRUE(
            kvtest::engineErrorOf([&] { victim.query("SELECT 1"); }).contains("SQLSTATE 25P02"));
    }
    EXPECT_EQ(victim.query("SELECT 8").int64(0, 0), 8);

    // A hook that only waits: the answer arrives once the lock is gone.
    WatchingHook patient(watcher, backend(victim), "Lock", WatchingHook::Act::Release);
    patient.release = [&] { lock.commit(); };
    EXPECT_EQ(victim.query("SELECT sum(n) FROM t").int64(0, 0), 3);
    EXPECT_TRUE(patient.acted);
    EXPECT_EQ(patient.finishedCalls, 1);
}

TEST(PgWaitHook, ConnectionEndedWhileWaitingIsLostNotCancelled)
{
    kvtest::PgTestDatabase db;
    PgConnection victim(db.conninfo());
    victim.exec("CREATE TABLE t (n bigint)");
    PgConnection watcher(db.conninfo());
    PgConnection locker(db.conninfo());
    kv::engine::PgTransaction lock(locker);
    locker.exec("LOCK TABLE t IN ACCESS EXCLUSIVE MODE");
    WatchingHook hook(watcher, backend(victim), "Lock", WatchingHook::Act::Terminate);
    const QString lost = kvtest::engineErrorOf([&] { victim.query("SELECT count(*) FROM t"); });
    EXPECT_TRUE(lost.contains("connection to the PostgreSQL server on socket"))
        << lost.toStdString();
    EXPECT_TRUE(lost.contains("was lost")) << lost.toStdString();
    EXPECT_FALSE(lost.contains("cancelled")) << lost.toStdString();
    EXPECT_EQ(hook.finishedCalls, 1);
    // Lost stays lost; a new connection is the way on.
    EXPECT_TRUE(kvtest::engineErrorOf([&] { victim.query("SELECT 1"); }).contains("was lost"));
    PgConnection again(db.conninfo());
    EXPECT_EQ(again.query("SELECT 9").int64(0, 0), 9);
}

TEST(PgWaitHook, ConnectingToAServerThatNeverAnswers)
{
    QTemporaryDir dir;
    SilentServer silent(dir.path());
    ASSERT_TRUE(silent.listening);
    const QString conninfo = QStringLiteral("host=%1 dbname=kv connect_timeout=2").arg(dir.path());
    {
        CancellingHook hook;
        EXPECT_EQ(kvtest::engineErrorOf([&] { PgConnection c(conninfo); }), "Zrušeno uživatelem");
    }
    // Without a hook the attempt ends at the connect_timeout of the string.
    const QString timedOut = kvtest::engineErrorOf([&] { PgConnection c(conninfo); });
    EXPECT_TRUE(timedOut.startsWith("cannot reach the PostgreSQL server on socket"))
        << timedOut.toStdString();
    EXPECT_TRUE(timedOut.contains("no answer within 2 s")) << timedOut.toStdString();
}
