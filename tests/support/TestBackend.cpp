#include "tests/support/TestBackend.h"

#include "core/Settings.h"
#include "engine/PgConnection.h"
#include "engine/PgDirectoryLoader.h"
#include "engine/PgResult.h"

#include <QCryptographicHash>
#include <QFile>
#include <stdexcept>

namespace kvtest
{

namespace
{

QByteArray contentHash(const QString& path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f))
        throw std::runtime_error("cannot read " + path.toStdString());
    return hash.result().toHex();
}

// Whether the database `conninfo` holds a complete load: the version table
// is written in the load's one transaction, last.
bool holdsLoad(const QString& conninfo)
{
    try {
        kv::engine::PgConnection c(conninfo);
        return c.tryQuery(QStringLiteral("SELECT schema_name FROM kvelta.version")).rows() == 1;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

void loadIntoServer(const QString& path, const QString& conninfo)
{
    kv::engine::Database source(path);
    kv::engine::PgConnection target(conninfo);
    kv::engine::PgDirectoryLoader loader(source, target);
    loader.setDropWait(0);
    loader.run(path);
}

QString serverCopy(const QString& path)
{
    const QByteArray hash = contentHash(path);
    const QString name = QStringLiteral("kvc_") + QString::fromLatin1(hash.left(24));
    // A later keyword wins over an earlier one.
    const QString conninfo = pgAdminConninfo() + QStringLiteral(" dbname=") + name;
    kv::engine::PgConnection admin(pgAdminConninfo());
    // Processes asking for the same contents at once: one loads, the others wait.
    const qint64 key = hash.left(15).toLongLong(nullptr, 16);
    admin.query(QStringLiteral("SELECT pg_advisory_lock($1)"), {key});
    const bool exists =
        admin.query(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = $1"), {name})
            .rows() == 1;
    // A load that was killed half-way leaves a database without a version.
    if (!exists || !holdsLoad(conninfo)) {
        const QString quoted = admin.identifier(name);
        admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(quoted));
        admin.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template1").arg(quoted));
        loadIntoServer(path, conninfo);
    }
    admin.query(QStringLiteral("SELECT pg_advisory_unlock($1)"), {key});
    return conninfo;
}

std::unique_ptr<kv::engine::Database> openOn(const QString& path, const BackendCase& on)
{
    if (on.backend == Backend::Sqlite)
        return std::make_unique<kv::engine::Database>(path);
    auto db = std::make_unique<kv::engine::Database>();
    db->openServer(serverCopy(path));
    return db;
}

void serveCompanyData(const QString& path, const BackendCase& on)
{
    kv::settings().database = on.backend == Backend::Server ? serverCopy(path) : QString();
}

void serveCompanyData(CompanyDb& build, const BackendCase& on)
{
    build.openReadOnly(true); // finished and closed; the file stays
    serveCompanyData(build.path(), on);
}

BackendDb::BackendDb(CompanyDb& build, const BackendCase& on)
{
    if (on.backend == Backend::Sqlite) {
        m_db = build.openReadOnly(on.ranks);
        return;
    }
    build.openReadOnly(true);
    m_conninfo = serverCopy(build.path());
    m_db = std::make_unique<kv::engine::Database>();
    m_db->openServer(m_conninfo);
}

BackendDb::~BackendDb() = default;

} // namespace kvtest
