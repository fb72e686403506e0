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
//
// A connection found lost (the server ended the session, restarted, the
// network failed) fails the statement that found it; the next use of
// connection() connects afresh and pins the same version again while it
// exists, holding its tables (a load cannot drop them then), so row ids,
// and with them every cursor's set, stay valid. A version dropped
// meanwhile cannot be had back: the current one is pinned instead, that
// use fails once saying so, and versionEpoch() grows (cursors read their
// rows again, TableCursor).
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

    // The live connection, connecting afresh after the last one was found
    // lost. Throws Error::engine as the constructor does when that fails
    // (the next call tries again), and once, connected, when the version
    // had to change. Hold the reference for one statement only.
    PgConnection& connection();
    // The same, shared: a statement prepared on it keeps it alive (lost
    // or not) until it is prepared again on a newer one or ends.
    std::shared_ptr<PgConnection> sharedConnection();
    // How many times the version changed under this directory.
    quint64 versionEpoch() const { return m_versionEpoch; }

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
    // Connects and pins keep when it exists, else the current version;
    // changes nothing here when it throws.
    void open(const QString& keep);
    bool hold(PgConnection& c, const QString& version) const;
    QHash<QString, QStringList> readCatalog(PgConnection& c, const QString& version) const;
    QString m_conninfo;
    std::shared_ptr<PgConnection> m_connection;
    QString m_version;
    QHash<QString, QStringList> m_columns;
    quint64 m_versionEpoch = 0;
    bool m_connecting = false;
};

} // namespace kv::engine
