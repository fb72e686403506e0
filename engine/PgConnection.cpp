#include "engine/PgConnection.h"

#include "core/Error.h"
#include "engine/PgWaitHook.h"

#include <QRegularExpression>
#include <cerrno>
#include <libpq-fe.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <vector>

namespace kv::engine
{

namespace
{

// libpq's messages span lines ("...\n\tIs the server running ...?").
QString oneLine(const QString& text)
{
    QStringList parts;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        QString part = line.simplified();
        if (part.startsWith(QLatin1String("FATAL:")) || part.startsWith(QLatin1String("ERROR:")))
            part = part.section(u':', 1).trimmed();
        if (!part.isEmpty())
            parts << part;
    }
    return parts.join(QStringLiteral("; "));
}

QString place(pg_conn* conn)
{
    const QString host = QString::fromUtf8(PQhost(conn));
    const QString port = QString::fromUtf8(PQport(conn));
    if (host.isEmpty() || host.startsWith(u'/'))
        return QStringLiteral("on socket \"%1/.s.PGSQL.%2\"")
            .arg(host.isEmpty() ? QStringLiteral("(default)") : host, port);
    return QStringLiteral("at %1 port %2").arg(host, port);
}

// Why a connection attempt failed, without libpq's "connection to server
// ... failed:" lead, which the message says in its own words.
QString connectReason(pg_conn* conn)
{
    static const QRegularExpression lead(QStringLiteral("^connection to server [^\\n]*? failed: "));
    QString text = QString::fromUtf8(PQerrorMessage(conn)).trimmed();
    text.remove(lead);
    return oneLine(text);
}

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How often the hook runs while the server has not answered.
constexpr milliseconds HookTick{50};
// How long a cancelled statement may take to end before the connection is
// closed under it (a server or network that no longer answers).
constexpr milliseconds CancelGrace{5000};

// One wait for the server: runs the thread's hook every tick and remembers
// whether it asked to cancel.
class ServerWait
{
public:
    ServerWait() : m_hook(PgWaitHook::current()), m_start(Clock::now()), m_lastCall(m_start) {}
    ~ServerWait()
    {
        if (m_called)
            m_hook->finished();
    }
    ServerWait(const ServerWait&) = delete;
    ServerWait& operator=(const ServerWait&) = delete;

    Clock::time_point start() const { return m_start; }
    bool cancelled() const { return m_cancelled; }
    bool graceOver() const { return m_cancelled && Clock::now() - m_cancelledAt > CancelGrace; }
    QString cancelledMessage() const { return m_hook->cancelledMessage(); }

    // Whether fd became ready for events (or failed) within one tick, or
    // before deadline without a hook. EINTR (a signal) counts as not ready;
    // no socket at all as ready, so that libpq says what became of it.
    bool ready(int fd, short events, std::optional<Clock::time_point> deadline = {}) const
    {
        if (fd < 0)
            return true;
        int timeout = -1;
        if (deadline)
            timeout = int(std::max<qint64>(
                0, std::chrono::duration_cast<milliseconds>(*deadline - Clock::now()).count()));
        if (m_hook && (timeout < 0 || timeout > int(HookTick.count())))
            timeout = int(HookTick.count());
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, timeout);
        return rc > 0 || (rc < 0 && errno != EINTR);
    }

    // Runs the hook when its tick is due (a quick answer never sees it);
    // true once, when it asks to cancel. After that the hook still runs
    // (its window stays alive while the server ends the statement), its
    // answer no longer counts. A hook that throws is taken as a cancel: the
    // wait cannot go on unseen.
    bool cancelAsked()
    {
        const Clock::time_point now = Clock::now();
        if (!m_hook || now - m_lastCall < HookTick)
            return false;
        m_called = true;
        m_lastCall = now;
        bool cancel = true;
        try {
            const PgWaitHook::Running running;
            cancel = m_hook->wait(std::chrono::duration_cast<milliseconds>(now - m_start));
        } catch (...) {
        }
        if (!cancel || m_cancelled)
            return false;
        m_cancelled = true;
        m_cancelledAt = Clock::now();
        return true;
    }

private:
    PgWaitHook* m_hook;
    Clock::time_point m_start;
    Clock::time_point m_lastCall;
    Clock::time_point m_cancelledAt;
    bool m_cancelled = false;
    bool m_called = false;
};

// Asks the server to stop the statement running on conn; its result (an
// error, SQLSTATE 57014) follows on the connection as usual.
void sendCancel(pg_conn* conn)
{
    PGcancel* cancel = PQgetCancel(conn);
    if (!cancel)
        return;
    char reason[256];
    PQcancel(cancel, reason, int(sizeof reason));
    PQfreeCancel(cancel);
}

// Reads the server's answer until PQgetResult will not block: a cancel
// when the hook asks for one, and when even that is not answered within
// the grace, the socket is shut so that the connection reports itself lost.
void awaitResult(pg_conn* conn, ServerWait& wait)
{
    while (PQisBusy(conn)) {
        if (wait.ready(PQsocket(conn), POLLIN) && !PQconsumeInput(conn))
            return;
        if (wait.cancelAsked())
            sendCancel(conn);
        else if (wait.graceOver())
            ::shutdown(PQsocket(conn), SHUT_RDWR);
    }
}

// libpq's connect_timeout of conn in seconds (at least 2, as libpq reads
// it), or nothing for an unbounded wait.
std::optional<int> connectTimeout(pg_conn* conn)
{
    std::optional<int> seconds;
    PQconninfoOption* options = PQconninfo(conn);
    for (PQconninfoOption* o = options; o && o->keyword; ++o)
        if (qstrcmp(o->keyword, "connect_timeout") == 0 && o->val) {
            const int value = QByteArray(o->val).trimmed().toInt();
            if (value > 0)
                seconds = std::max(value, 2);
        }
    PQconninfoFree(options);
    return seconds;
}

std::vector<QByteArray> paramBytes(const QVariantList& params)
{
    std::vector<QByteArray> bytes;
    bytes.reserve(params.size());
    for (const QVariant& v : params) {
        if (v.isNull())
            bytes.emplace_back();
        else if (v.typeId() == QMetaType::QString)
            bytes.push_back(v.toString().toUtf8());
        else if (v.typeId() == QMetaType::QByteArray)
            bytes.push_back(v.toByteArray());
        else
            bytes.push_back(v.toString().toUtf8());
    }
    return bytes;
}

} // namespace

PgConnection::PgConnection(const QString& conninfo)
{
    const QByteArray info = conninfo.toUtf8();
    // The string's own values win over the defaults before it; the encoding
    // after it is fixed, since every text goes out as UTF-8.
    const char* keys[] = {"connect_timeout", "fallback_application_name", "dbname",
                          "client_encoding", nullptr};
    const char* values[] = {"10", "kvelta", info.constData(), "UTF8", nullptr};
    m_conn = PQconnectStartParams(keys, values, 1);
    if (!m_conn)
        throw Error::engine(QStringLiteral("PostgreSQL: out of memory"));
    if (connect()) {
        // Notices ("schema exists, skipping") are no errors; libpq would print them.
        PQsetNoticeProcessor(
            m_conn, [](void*, const char*) {}, nullptr);
        return;
    }
    const QString where = place(m_conn);
    const QString reason = connectReason(m_conn);
    const QString raw = QString::fromUtf8(PQerrorMessage(m_conn));
    // A reason the server gave (FATAL) or a password it asked for means it
    // was reached; anything else failed on the way to it.
    const bool refused = raw.contains(QLatin1String("FATAL:")) ||
                         PQconnectionNeedsPassword(m_conn) ||
                         raw.contains(QLatin1String("fe_sendauth"));
    const QString user = QString::fromUtf8(PQuser(m_conn));
    const QString db = QString::fromUtf8(PQdb(m_conn));
    PQfinish(m_conn);
    m_conn = nullptr;
    if (refused)
        throw Error::engine(
            QStringLiteral("the PostgreSQL server %1 refused the login of user \"%2\" to database "
                           "\"%3\": %4")
                .arg(where, user, db, reason));
    throw Error::engine(
        QStringLiteral("cannot reach the PostgreSQL server %1: %2").arg(where, reason));
}

bool PgConnection::connect()
{
    const std::optional<int> timeout = connectTimeout(m_conn);
    ServerWait wait;
    std::optional<Clock::time_point> deadline;
    if (timeout)
        deadline = wait.start() + std::chrono::seconds(*timeout);
    PostgresPollingStatusType state =
        PQstatus(m_conn) == CONNECTION_BAD ? PGRES_POLLING_FAILED : PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        if (deadline && Clock::now() >= *deadline) {
            const QString where = place(m_conn);
            PQfinish(m_conn);
            m_conn = nullptr;
            throw Error::engine(
                QStringLiteral("cannot reach the PostgreSQL server %1: no answer within %2 s")
                    .arg(where)
                    .arg(*timeout));
        }
        if (wait.ready(PQsocket(m_conn), state == PGRES_POLLING_READING ? POLLIN : POLLOUT,
                       deadline))
            state = PQconnectPoll(m_conn);
        if (state != PGRES_POLLING_OK && wait.cancelAsked()) {
            PQfinish(m_conn);
            m_conn = nullptr;
            throw Error::engine(wait.cancelledMessage());
        }
    }
    return state == PGRES_POLLING_OK;
}

PgConnection::~PgConnection()
{
    PQfinish(m_conn);
}

QString PgConnection::describe() const
{
    return QStringLiteral("user \"%1\", database \"%2\" %3")
        .arg(QString::fromUtf8(PQuser(m_conn)), QString::fromUtf8(PQdb(m_conn)), place(m_conn));
}

bool PgConnection::lost() const
{
    return !m_conn || PQstatus(m_conn) == CONNECTION_BAD;
}

void PgConnection::check(const PgResult& result, const QString& what) const
{
    const ExecStatusType status =
        result.handle() ? PQresultStatus(result.handle()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_COPY_IN ||
        status == PGRES_EMPTY_QUERY)
        return;
    if (PQstatus(m_conn) == CONNECTION_BAD)
        throw Error::engine(
            QStringLiteral("the connection to the PostgreSQL server %1 was lost: %2")
                .arg(place(m_conn), oneLine(QString::fromUtf8(PQerrorMessage(m_conn)))));
    const char* primary =
        result.handle() ? PQresultErrorField(result.handle(), PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    const QString message =
        primary ? QString::fromUtf8(primary) : oneLine(QString::fromUtf8(PQerrorMessage(m_conn)));
    const QString state = result.sqlState();
    throw Error::engine(
        QStringLiteral("PostgreSQL %1: %2%3")
            .arg(what, message,
                 state.isEmpty() ? QString() : QStringLiteral(" (SQLSTATE %1)").arg(state)));
}

PgResult PgConnection::submit(const std::function<int(pg_conn*)>& start)
{
    // A statement from an event the hook let through, on a connection that
    // is waiting for its own: libpq would refuse it less clearly.
    if (m_busy)
        throw Error::engine(
            QStringLiteral("the connection to the PostgreSQL server %1 is busy with another "
                           "statement")
                .arg(place(m_conn)));
    if (!start(m_conn))
        return PgResult();
    m_busy = true;
    const struct Idle {
        bool& busy;
        ~Idle() { busy = false; }
    } idle{m_busy};
    ServerWait wait;
    // As PQexec: the last result, or the first that failed.
    PgResult kept;
    bool failed = false;
    for (;;) {
        awaitResult(m_conn, wait);
        PgResult next(PQgetResult(m_conn));
        if (!next.handle())
            break;
        const ExecStatusType status = PQresultStatus(next.handle());
        if (!failed) {
            failed = status == PGRES_FATAL_ERROR || status == PGRES_BAD_RESPONSE;
            kept = std::move(next);
        }
        // COPY goes on with PgCopyIn; there is nothing more to read now.
        if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT || status == PGRES_COPY_BOTH)
            break;
    }
    if (wait.cancelled() &&
        (kept.sqlState() == QLatin1String("57014") || PQstatus(m_conn) == CONNECTION_BAD))
        throw Error::engine(wait.cancelledMessage());
    return kept;
}

PgResult PgConnection::run(const QString& sql, const QVariantList& params)
{
    const QByteArray text = sql.toUtf8();
    if (params.isEmpty())
        return submit([&](pg_conn* c) { return PQsendQuery(c, text.constData()); });
    const std::vector<QByteArray> bytes = paramBytes(params);
    std::vector<const char*> values;
    std::vector<int> lengths;
    for (qsizetype i = 0; i < params.size(); ++i) {
        values.push_back(params[i].isNull() ? nullptr : bytes[size_t(i)].constData());
        lengths.push_back(int(bytes[size_t(i)].size()));
    }
    return submit([&](pg_conn* c) {
        return PQsendQueryParams(c, text.constData(), int(values.size()), nullptr, values.data(),
                                 lengths.data(), nullptr, 0);
    });
}

void PgConnection::exec(const QString& sql)
{
    check(run(sql, {}), QStringLiteral("rejected a command"));
}

PgResult PgConnection::query(const QString& sql, const QVariantList& params)
{
    PgResult result = run(sql, params);
    check(result, QStringLiteral("rejected a query"));
    return result;
}

PgResult PgConnection::tryQuery(const QString& sql, const QVariantList& params)
{
    PgResult result = run(sql, params);
    if (!result.handle() || PQstatus(m_conn) == CONNECTION_BAD)
        check(result, QStringLiteral("rejected a query"));
    return result;
}

std::optional<PgResult> PgConnection::ensureRole(const QString& name)
{
    if (query(QStringLiteral("SELECT 1 FROM pg_catalog.pg_roles WHERE rolname = $1"), {name})
            .rows() > 0)
        return std::nullopt;
    PgResult made = tryQuery(QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(identifier(name)));
    const QString state = made.sqlState();
    if (state.isEmpty() || state == QLatin1String("42710") || state == QLatin1String("23505"))
        return std::nullopt;
    return made;
}

QString PgConnection::identifier(const QString& name) const
{
    const QByteArray utf8 = name.toUtf8();
    char* quoted = PQescapeIdentifier(m_conn, utf8.constData(), size_t(utf8.size()));
    if (!quoted)
        throw Error::engine(QStringLiteral("PostgreSQL cannot use the name \"%1\": %2")
                                .arg(name, oneLine(QString::fromUtf8(PQerrorMessage(m_conn)))));
    const QString result = QString::fromUtf8(quoted);
    PQfreemem(quoted);
    return result;
}

} // namespace kv::engine
