#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

namespace kv::engine
{

class PgConnection;

// The company directory as a reader sees it on a PostgreSQL server: one
// connection that pins the current version (the schema kvelta.version
// names, see PgDirectoryVersions) for its whole life.
//
// The connection stays inside one read-only REPEATABLE READ transaction
// from the reading of kvelta.version on: every statement sees the same
// snapshot, and a load that switches to a newer version keeps this one
// until the connection ends (it drops only versions that no transaction
// older than its switch may still read). The version's schema is the
// session's search_path, so statements name tables as on SQLite.
class ServerDirectory
{
public:
    // The column every loaded table carries beside its own: the row's
    // SQLite rowid, unique, what a cursor keeps of each row.
    static constexpr const char* rowIdColumn = "kv_rowid";

    // Throws Error::engine: a server that cannot be reached or refuses the
    // login (PgConnection's messages, never the password), a database
    // without a loaded version, or one loaded without row ids.
    explicit ServerDirectory(const QString& conninfo);
    ~ServerDirectory();
    ServerDirectory(const ServerDirectory&) = delete;
    ServerDirectory& operator=(const ServerDirectory&) = delete;

    PgConnection& connection() const { return *m_connection; }
    const QString& version() const { return m_version; }
    // Where and which version: 'user "u", database "d" on socket ..., version kv_...'.
    QString describe() const;

    bool hasTable(const QString& name) const { return m_columns.contains(name.toLower()); }
    // The table's own columns in their order, without the row id column.
    QStringList columns(const QString& table) const { return m_columns.value(table.toLower()); }

    // Makes the transaction usable again after a statement failed in it
    // (PostgreSQL refuses every later statement of a failed transaction).
    void recover() noexcept;

private:
    void readCatalog();
    std::unique_ptr<PgConnection> m_connection;
    QString m_version;
    QHash<QString, QStringList> m_columns;
};

} // namespace kv::engine
