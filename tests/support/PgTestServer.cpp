#include "tests/support/PgTestServer.h"

#include "engine/PgConnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <atomic>
#include <stdexcept>

namespace kvtest
{

namespace
{

QString stateFile(const char* name)
{
    const QString path = QStringLiteral(KV_PG_STATE_DIR "/") + QLatin1String(name);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("no test PostgreSQL server (%1 missing): run the test through ctest, "
                           "or start one with tests/support/pg-server.sh start %2, or set "
                           "KV_PG_CONNINFO")
                .arg(path, QStringLiteral(KV_PG_STATE_DIR))
                .toStdString());
    return QString::fromUtf8(f.readAll()).trimmed();
}

} // namespace

QString pgAdminConninfo()
{
    const QString given = qEnvironmentVariable("KV_PG_CONNINFO");
    return given.isEmpty() ? stateFile("conninfo") : given;
}

QString pgSocketDir()
{
    static const QRegularExpression host(QStringLiteral("host=(\\S+)"));
    const QString dir = host.match(pgAdminConninfo()).captured(1);
    if (!dir.startsWith(u'/'))
        throw std::runtime_error("the test server listens on no Unix socket");
    return dir;
}

QString pgLockedPassword()
{
    return stateFile("password");
}

PgTestDatabase::PgTestDatabase()
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("kvt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    kv::engine::PgConnection admin(pgAdminConninfo());
    admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
    admin.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template1").arg(m_name));
}

PgTestDatabase::~PgTestDatabase()
{
    try {
        kv::engine::PgConnection admin(pgAdminConninfo());
        admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
    } catch (const std::exception&) {
        // The server is gone; its folder goes with it.
    }
}

QString PgTestDatabase::conninfo() const
{
    // A later keyword wins over an earlier one.
    return pgAdminConninfo() + QStringLiteral(" dbname=") + m_name;
}

} // namespace kvtest
