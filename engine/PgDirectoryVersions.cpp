#include "engine/PgDirectoryVersions.h"

#include "core/Error.h"
#include "engine/PgConnection.h"
#include "engine/PgTransaction.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QThread>

namespace kv::engine
{

namespace
{

const QRegularExpression& versionPattern()
{
    static const QRegularExpression re(QStringLiteral("^kv_\\d{8}_\\d{6}_\\d{3}(_\\d+)?$"));
    return re;
}

} // namespace

bool PgDirectoryVersions::isVersionName(const QString& schema)
{
    return versionPattern().match(schema).hasMatch();
}

void PgDirectoryVersions::ensureReaderRole()
{
    const QString role = QString::fromLatin1(readerRole);
    if (const auto refused = m_connection.ensureRole(role))
        m_connection.check(*refused, QStringLiteral("did not create the role %1").arg(role));
}

void PgDirectoryVersions::ensurePointer()
{
    const QString schema = m_connection.identifier(QString::fromLatin1(pointerSchema));
    const QString role = m_connection.identifier(QString::fromLatin1(readerRole));
    m_connection.exec(
        QStringLiteral(
            "CREATE SCHEMA IF NOT EXISTS %1;"
            "CREATE TABLE IF NOT EXISTS %1.version (only_row boolean PRIMARY KEY DEFAULT true "
            "CHECK (only_row), schema_name text NOT NULL, loaded_at timestamptz NOT NULL, "
            "source text NOT NULL);"
            "REVOKE ALL ON SCHEMA %1 FROM PUBLIC;"
            "GRANT USAGE ON SCHEMA %1 TO %2;"
            "GRANT SELECT ON %1.version TO %2")
            .arg(schema, role));
}

QString PgDirectoryVersions::current()
{
    const PgResult exists =
        m_connection.query(QStringLiteral("SELECT to_regclass($1) IS NOT NULL"),
                           {QStringLiteral("%1.version").arg(QLatin1String(pointerSchema))});
    if (exists.text(0, 0) != QLatin1String("t"))
        return QString();
    const PgResult row =
        m_connection.query(QStringLiteral("SELECT schema_name FROM %1.version")
                               .arg(m_connection.identifier(QString::fromLatin1(pointerSchema))));
    return row.rows() > 0 ? row.text(0, 0) : QString();
}

QString PgDirectoryVersions::newSchemaName()
{
    const QString base = QStringLiteral("kv_") + QDateTime::currentDateTimeUtc().toString(
                                                     QStringLiteral("yyyyMMdd_HHmmss_zzz"));
    QString name = base;
    for (int n = 2;; ++n) {
        if (m_connection
                .query(QStringLiteral("SELECT 1 FROM pg_catalog.pg_namespace WHERE nspname = $1"),
                       {name})
                .rows() == 0)
            return name;
        name = base + u'_' + QString::number(n);
    }
}

QString PgDirectoryVersions::switchTo(const QString& schema, const QString& source)
{
    const QString s = m_connection.identifier(schema);
    const QString role = m_connection.identifier(QString::fromLatin1(readerRole));
    const QString pointer = m_connection.identifier(QString::fromLatin1(pointerSchema));
    m_connection.exec(QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2;"
                                     "GRANT SELECT ON ALL TABLES IN SCHEMA %1 TO %2")
                          .arg(s, role));
    const PgResult old = m_connection.query(
        QStringLiteral("SELECT schema_name FROM %1.version FOR UPDATE").arg(pointer));
    const QString previous = old.rows() > 0 ? old.text(0, 0) : QString();
    m_connection.query(
        QStringLiteral("INSERT INTO %1.version (only_row, schema_name, loaded_at, source) "
                       "VALUES (true, $1, now(), $2) ON CONFLICT (only_row) DO UPDATE SET "
                       "schema_name = EXCLUDED.schema_name, loaded_at = EXCLUDED.loaded_at, "
                       "source = EXCLUDED.source")
            .arg(pointer),
        {schema, source});
    // The old version keeps its grants: a reader that pinned it reads on
    // until its transaction ends.
    return previous;
}

QStringList PgDirectoryVersions::unused()
{
    const QString now = current();
    const PgResult all = m_connection.query(QStringLiteral(
        "SELECT nspname FROM pg_catalog.pg_namespace WHERE nspname LIKE 'kv\\_%' ORDER BY 1"));
    QStringList out;
    for (int r = 0; r < all.rows(); ++r) {
        const QString name = all.text(r, 0);
        if (name != now && isVersionName(name))
            out << name;
    }
    return out;
}

bool PgDirectoryVersions::canSeeOtherSessions()
{
    return m_connection
               .query(QStringLiteral(
                   "SELECT rolsuper OR pg_has_role(current_user, 'pg_read_all_stats', 'MEMBER') "
                   "FROM pg_catalog.pg_roles WHERE rolname = current_user"))
               .text(0, 0) == QLatin1String("t");
}

QStringList PgDirectoryVersions::dropUnused(int waitMs)
{
    const QStringList versions = unused();
    if (versions.isEmpty())
        return {};
    QStringList notes;
    if (!canSeeOtherSessions()) {
        notes << QStringLiteral("kept %1: this role cannot see other sessions to know that no "
                                "reader uses them (grant it pg_read_all_stats)")
                     .arg(versions.join(QStringLiteral(", ")));
        return notes;
    }
    // A transaction that began before this point may have read the old
    // pointer; one that begins later reads the new one.
    const QString since =
        m_connection.query(QStringLiteral("SELECT clock_timestamp()::text")).text(0, 0);
    const QString older = QStringLiteral(
        "SELECT count(*) FROM pg_catalog.pg_stat_activity WHERE datname = current_database() "
        "AND backend_type = 'client backend' AND pid <> pg_backend_pid() "
        "AND xact_start < $1::timestamptz");
    qint64 open = m_connection.query(older, {since}).int64(0, 0);
    for (int waited = 0; open > 0 && waited < waitMs; waited += 200) {
        QThread::msleep(200);
        open = m_connection.query(older, {since}).int64(0, 0);
    }
    if (open > 0) {
        notes << QStringLiteral("kept %1: %2 transaction(s) that began before the switch are "
                                "still open; the next load removes it")
                     .arg(versions.join(QStringLiteral(", ")))
                     .arg(open);
        return notes;
    }
    for (const QString& version : versions) {
        PgTransaction tx(m_connection);
        m_connection.exec(QStringLiteral("SET LOCAL lock_timeout = '5s'"));
        const PgResult dropped = m_connection.tryQuery(
            QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_connection.identifier(version)));
        if (!dropped.sqlState().isEmpty()) {
            notes << QStringLiteral("kept %1: it is in use or cannot be dropped (SQLSTATE %2)")
                         .arg(version, dropped.sqlState());
            continue;
        }
        tx.commit();
        notes << QStringLiteral("removed %1").arg(version);
    }
    return notes;
}

} // namespace kv::engine
