#include "engine/PgConnection.h"

#include "core/Error.h"

#include <QRegularExpression>
#include <libpq-fe.h>
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
    m_conn = PQconnectdbParams(keys, values, 1);
    if (!m_conn)
        throw Error::engine(QStringLiteral("PostgreSQL: out of memory"));
    if (PQstatus(m_conn) == CONNECTION_OK) {
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

PgConnection::~PgConnection()
{
    PQfinish(m_conn);
}

QString PgConnection::describe() const
{
    return QStringLiteral("user \"%1\", database \"%2\" %3")
        .arg(QString::fromUtf8(PQuser(m_conn)), QString::fromUtf8(PQdb(m_conn)), place(m_conn));
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

PgResult PgConnection::run(const QString& sql, const QVariantList& params)
{
    const QByteArray text = sql.toUtf8();
    if (params.isEmpty())
        return PgResult(PQexec(m_conn, text.constData()));
    const std::vector<QByteArray> bytes = paramBytes(params);
    std::vector<const char*> values;
    std::vector<int> lengths;
    for (qsizetype i = 0; i < params.size(); ++i) {
        values.push_back(params[i].isNull() ? nullptr : bytes[size_t(i)].constData());
        lengths.push_back(int(bytes[size_t(i)].size()));
    }
    return PgResult(PQexecParams(m_conn, text.constData(), int(values.size()), nullptr,
                                 values.data(), lengths.data(), nullptr, 0));
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
