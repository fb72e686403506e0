#include "engine/ServerDirectory.h"

#include "core/Error.h"
#include "engine/PgConnection.h"
#include "engine/PgDirectoryVersions.h"

#include <libpq-fe.h>

namespace kv::engine
{

ServerDirectory::ServerDirectory(const QString& conninfo)
    : m_connection(std::make_unique<PgConnection>(conninfo))
{
    PgConnection& c = *m_connection;
    c.exec(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    m_version = PgDirectoryVersions(c).current();
    if (m_version.isEmpty())
        throw Error::engine(
            QStringLiteral("the PostgreSQL database (%1) holds no loaded directory; load one "
                           "with \"kvelta db load\"")
                .arg(c.describe()));
    readCatalog();
    if (!hasTable(QStringLiteral("firma")))
        throw Error::engine(QStringLiteral("the directory %1 on the PostgreSQL server (%2) has no "
                                           "table firma or may not be read by this user")
                                .arg(m_version, c.describe()));
    // The search path is set inside the transaction, which never commits:
    // it holds for the connection's life all the same.
    c.query(QStringLiteral("SELECT pg_catalog.set_config('search_path', $1, false)"),
            {c.identifier(m_version) + QStringLiteral(", pg_catalog")});
    // recover() returns here after a failed statement.
    c.exec(QStringLiteral("SAVEPOINT kv_read"));
}

ServerDirectory::~ServerDirectory() = default;

void ServerDirectory::readCatalog()
{
    const PgResult found = m_connection->query(
        QStringLiteral("SELECT c.relname, a.attname FROM pg_catalog.pg_class c "
                       "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                       "JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid "
                       "WHERE n.nspname = $1 AND c.relkind IN ('r', 'p') AND a.attnum > 0 "
                       "AND NOT a.attisdropped AND pg_catalog.has_table_privilege(c.oid, 'SELECT') "
                       "ORDER BY c.relname, a.attnum"),
        {m_version});
    QHash<QString, bool> withRowIds;
    for (int r = 0; r < found.rows(); ++r) {
        const QString table = found.text(r, 0).toLower();
        const QString column = found.text(r, 1);
        if (column == QLatin1String(rowIdColumn))
            withRowIds[table] = true;
        else
            m_columns[table] << column;
    }
    // The load's own derived tables (kv_quickfind...) are not read by cursors.
    for (auto it = m_columns.cbegin(); it != m_columns.cend(); ++it)
        if (!withRowIds.value(it.key()) && !it.key().startsWith(QLatin1String("kv_")))
            throw Error::engine(
                QStringLiteral("the directory %1 on the PostgreSQL server (%2) was loaded by an "
                               "older kvelta without row ids (table %3); load it again with "
                               "\"kvelta db load\"")
                    .arg(m_version, m_connection->describe(), it.key()));
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
