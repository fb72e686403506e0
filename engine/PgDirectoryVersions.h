#pragma once

#include <QString>
#include <QStringList>

namespace kv::engine
{

class PgConnection;

// The loaded versions of the directory in one PostgreSQL database. Each load
// writes a schema of its own (kv_YYYYMMDD_HHMMSS_mmm); the one row of
// kvelta.version names the current one. A reader pins a version by reading
// that row in its transaction and naming that schema (or putting it on its
// search_path); since the row changes in the load's own transaction, a
// reader sees either the old complete version or the new one. The role
// kvelta_reader may read the pointer and the current version's tables, and
// nothing else.
class PgDirectoryVersions
{
public:
    static constexpr const char* pointerSchema = "kvelta";
    static constexpr const char* readerRole = "kvelta_reader";

    explicit PgDirectoryVersions(PgConnection& connection) : m_connection(connection) {}

    // Creates kvelta_reader if missing (roles belong to the whole server).
    void ensureReaderRole();
    // Creates kvelta.version if missing; inside the load's transaction.
    void ensurePointer();
    // The current version's schema; empty before the first load.
    QString current();
    // A name for a new version's schema that is not taken yet.
    QString newSchemaName();
    // Grants the readers' role the schema's tables and points kvelta.version
    // at it; inside the load's transaction, so it takes effect with its commit.
    // Returns the version it replaces (empty if none).
    QString switchTo(const QString& schema, const QString& source);
    // The version schemas that are not current (older loads, a load that died).
    QStringList unused();
    // Drops the unused versions once no transaction that began before now
    // is still open, waiting at most waitMs. A version still possibly in use
    // then is kept (a later load drops it); the lines say why.
    QStringList dropUnused(int waitMs);

    static bool isVersionName(const QString& schema);

private:
    bool canSeeOtherSessions();
    PgConnection& m_connection;
};

} // namespace kv::engine
