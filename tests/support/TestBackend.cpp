#include "tests/support/TestBackend.h"

#include "engine/PgConnection.h"
#include "engine/PgDirectoryLoader.h"

namespace kvtest
{

void loadIntoServer(const QString& path, const QString& conninfo)
{
    kv::engine::Database source(path);
    kv::engine::PgConnection target(conninfo);
    kv::engine::PgDirectoryLoader loader(source, target);
    loader.setDropWait(0);
    loader.run(path);
}

BackendDb::BackendDb(CompanyDb& build, const BackendCase& on)
{
    if (on.backend == Backend::Sqlite) {
        m_db = build.openReadOnly(on.ranks);
        return;
    }
    build.openReadOnly(true);
    m_server = std::make_unique<PgTestDatabase>();
    loadIntoServer(build.path(), m_server->conninfo());
    m_db = std::make_unique<kv::engine::Database>();
    m_db->openServer(m_server->conninfo());
}

BackendDb::~BackendDb()
{
    m_db.reset(); // the connection ends before its database is dropped
}

QString BackendDb::conninfo() const
{
    return m_server ? m_server->conninfo() : QString();
}

} // namespace kvtest
