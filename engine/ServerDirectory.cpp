#include "engine/ServerDirectory.h"

#include "core/Error.h"
#include "engine/PgConnection.h"
#include "engine/PgDirectoryVersions.h"

#include <libpq-fe.h>

namespace kv::engine
{

ServerDirectory::ServerDirectory(const QString& conninfo) : m_conninfo(conninfo)
{
    open(QString());
}

ServerDirectory::~ServerDirectory() = default;

void ServerDirectory::open(const QString& keep)
{
    auto made = std::make_shared<PgConnection>(m_conninfo);
    PgConnection& c = *made;
    c.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    const QString version =
        !keep.isEmpty() && hold(c, keep) ? keep : PgDirectoryVersions(c).current();
    if (version.isEmpty())
        throw Error::engine(
            QStringLiteral("the PostgreSQL database (%1) holds no loaded directory; load one "
                           "with \"kvelta db load\"")
                .arg(c.describe()));
    // A version never changes once loaded: the same one has the same tables.
    QHash<QString, QStringList> columns =
        version == m_version ? m_columns : readCatalog(c, version);
    if (!columns.contains(QStringLiteral("firma")))
        throw Error::engine(QStringLiteral("the directory %1 on the PostgreSQL server (%2) has no "
                                           "table firma or may not be read by this user")
                                .arg(version, c.describe()));
    // The search path is set inside the transaction, which never commits:
    // it holds for the connection's life all the same.
    c.query(QStringLiteral("SELECT pg_catalog.set_config('search_path', $1, false)"),
            {c.identifier(version) + QStringLiteral(", pg_catalog")});
    // recover() returns here after a failed statement.
    c.exec(QStringLiteral("SAVEPOINT kv_read"));
    m_connection = std::move(made);
    m_version = version;
    m_columns = std::move(columns);
}

bool ServerDirectory::hold(PgConnection& c, const QString& version) const
{
    // A load drops an old version once the transactions older than its
    // switch have ended, and this one is younger: the locks make the drop
    // wait for it instead. Taking them fails when the version is gone.
    QStringList tables;
    for (auto it = m_columns.cbegin(); it != m_columns.cend(); ++it)
        tables << c.identifier(version) + u'.' + c.identifier(it.key());
    if (tables.isEmpty())
        return false;
    c.exec(QStringLiteral("SAVEPOINT kv_pin"));
    const PgResult locked = c.tryQuery(QStringLiteral("LOCK TABLE %1 IN ACCESS SHARE MODE")
                                           .arg(tables.join(QStringLiteral(", "))));
    if (locked.sqlState().isEmpty())
        return true;
    c.exec(QStringLiteral("ROLLBACK TO SAVEPOINT kv_pin"));
    return false;
}

PgConnection& ServerDirectory::connection()
{
    return *sharedConnection();
}

std::shared_ptr<PgConnection> ServerDirectory::sharedConnection()
{
    if (!m_connection->lost())
        return m_connection;
    // An event let through while the new connection is awaited (a repaint
    // reading rows) must not start a second one.
    if (m_connecting)
        throw Error::engine(
            QStringLiteral("the connection to the PostgreSQL server is being made again"));
    const QString before = m_version;
    m_connecting = true;
    const struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_connecting};
    open(before);
    if (m_version != before) {
        ++m_versionEpoch;
        throw Error::engine(
            QStringLiteral("the connection to the PostgreSQL server (%1) was made again, but the "
                           "directory version %2 it was reading has been removed by a newer "
                           "load meanwhile; the program now reads version %3 and reads each "
                           "list again at its next use")
                .arg(m_connection->describe(), before, m_version));
    }
    return m_connection;
}

QHash<QString, QStringList> ServerDirectory::readCatalog(PgConnection& c,
                                                         const QString& version) const
{
    const PgResult found = c.query(
        QStringLiteral("SELECT c.relname, a.attname FROM pg_catalog.pg_class c "
                       "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                       "JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid "
                       "WHERE n.nspname = $1 AND c.relkind IN ('r', 'p') AND a.attnum > 0 "
                       "AND NOT a.attisdropped AND pg_catalog.has_table_privilege(c.oid, 'SELECT') "
                       "ORDER BY c.relname, a.attnum"),
        {version});
    QHash<QString, QStringList> columns;
    QHash<QString, bool> withRowIds;
    for (int r = 0; r < found.rows(); ++r) {
        const QString table = found.text(r, 0).toLower();
        const QString column = found.text(r, 1);
        if (column == QLatin1String(rowIdColumn))
            withRowIds[table] = true;
        else
            columns[table] << column;
    }
    // The load's own derived tables (kv_quickfind...) are not read by cursors.
    for (auto it = columns.cbegin(); it != columns.cend(); ++it)
        if (!withRowIds.value(it.key()) && !it.key().startsWith(QLatin1String("kv_")))
            throw Error::engine(
                QStringLiteral("the directory %1 on the PostgreSQL server (%2) was loaded by an "
                               "older kvelta without row ids (table %3); load it again with "
                               "\"kvelta db load\"")
                    .arg(version, c.describe(), it.key()));
    return columns;
}

QString ServerDirectory::describe() const
{
    return QStringLiteral("%1, version %2").arg(m_connection->describe(), m_version);
}

void ServerDirectory::recover() noexcept
{
    pg_conn* conn = m_connection->handle();
    if (PQtransactionStatus(conn) == PQTRANS_INERROR)
        PQclear(PQexec(conn, "ROLLBACK TO SAVEPOINT kv_read"));
}

} // namespace kv::engine
