#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include "engine/RankCheckCache.h"
#include "engine/SqlForm.h"

#include <atomic>
#include <map>
#include <memory>
#include <vector>

struct sqlite3;

namespace kv::engine
{

class PgConnection;
class RankColumn;
class ServerDirectory;

// One connection to the company database (RAII): a SQLite file, or the
// current version of the directory on a PostgreSQL server (openServer). The
// company database is opened read-only: the program never changes it, and
// SQLite then refuses any write (the server's connection is a read-only
// transaction). Statements and cursors run on either; rank tables and the
// FTS5 quick-find index are SQLite's only (a server has its own copy of the
// index, PgQuickFind).
class Database
{
public:
    enum class Mode {
        ReadOnly,  // the program's use
        ReadWrite, // builders of a database (demo generator, import, tests)
        Create,    // like ReadWrite, creating the file when missing
    };

    Database();
    explicit Database(const QString& path, Mode mode = Mode::ReadOnly);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Throws Error::engine with SQLite's reason; a file that is not a database
    // fails here, not at the first cursor.
    void open(const QString& path, Mode mode = Mode::ReadOnly);
    // Opens the current version of the directory on a PostgreSQL server
    // (a libpq connection string or URL) and keeps it for the connection's
    // life (ServerDirectory). Throws Error::engine with a message that
    // names the server but never the password.
    void openServer(const QString& conninfo);
    void close();
    bool isOpen() const { return m_db != nullptr || m_server != nullptr; }
    bool isServer() const { return m_server != nullptr; }
    // Opened with Mode::ReadOnly on a file.
    bool isReadOnly() const { return m_readOnly && !m_server; }
    SqlForm sqlForm() const { return m_server ? SqlForm::Postgres : SqlForm::Sqlite; }
    // The file; empty on a server.
    QString path() const { return m_path; }
    // The file, or the server's user, database, place and version.
    QString describe() const;
    // The open server (isServer() must be true).
    PgConnection& server() const;
    // Makes the server's transaction usable again after a failed statement.
    void recoverServer() const noexcept;
    // Grows whenever the server's connection, made again after it was lost,
    // had to pin another version (ServerDirectory): row ids read before
    // mean nothing then. 0 on SQLite.
    quint64 versionEpoch() const;
    // The server's connection, shared with the statements on it: like a
    // SQLite connection closed with statements left, it ends with the last.
    std::shared_ptr<ServerDirectory> directory() const { return m_server; }
    // The column that numbers a table's rows: rowid, or the loaded copy of it.
    QString rowIdColumn() const;
    // A table's own columns in their order (lower case on SQLite).
    QStringList columnNames(const QString& table) const;
    sqlite3* handle() const { return m_db; }

    // Runs statements without results (builders only; fails on a read-only one).
    void exec(const QString& sql);
    bool hasTable(const QString& name) const;
    // True when finishDatabase stored the Czech ranks of this table's text fields.
    bool hasRank(const QString& table, const QString& field) const
    {
        followVersion();
        return m_ranks.value(table.toLower()).contains(field.toLower());
    }
    // Czech ranks of a field, loaded on first use (hasRank must be true).
    const RankColumn& rankColumn(const QString& table, const QString& field) const;
    // The ranks of a field if already loaded, else nullptr.
    const RankColumn* loadedRankColumn(const QString& table, const QString& field) const;
    // Any loaded rank column of the table (they all know its rows), else nullptr.
    const RankColumn* anyRankColumn(const QString& table) const;
    // Rows of a table with ranks, as counted when the database opened.
    qint64 rankedRows(const QString& table) const
    {
        followVersion();
        return m_rankedRows.value(table.toLower());
    }
    // The INTEGER PRIMARY KEY field of a table (its rowid), empty when none.
    QString rowidField(const QString& table) const;
    // Re-reads which tables exist (after a builder created some). A rank
    // table whose rows no longer match its table (rows added or deleted
    // after finishDatabase) is left unused, so that table sorts with the
    // Czech collation instead, and a warning is kept in rankWarnings().
    // A read-only connection takes that comparison from RankCheckCache
    // when the file is in the state it was last checked in.
    void reloadCatalog();
    // One line per stale rank table found by the last open, for the user.
    const QStringList& rankWarnings() const { return m_rankWarnings; }

    // While *stop is true, every running statement ends with an error
    // ("interrupted"); null takes the flag away. The flag must outlive the
    // connection or be taken away first. SQLite only.
    void setStopFlag(const std::atomic<bool>* stop);

    static QString lastError(sqlite3* db);
    // Process-wide SQLite settings, made once before the first connection
    // opens; every sqlite3_open_v2 of the engine comes after it.
    static void configureLibrary();

private:
    // The connection alone, without reading the catalogue.
    void openFile(const QString& path, Mode mode);
    // Count, key range and key sum of each table (RankCheckCache).
    std::vector<RowKeys> rowKeysOf(const QStringList& tables) const;

    sqlite3* m_db = nullptr;
    std::shared_ptr<ServerDirectory> m_server;
    QString m_path;
    bool m_readOnly = false;
    QSet<QString> m_tables;
    // What is known of the ranks is the current version's: a server's
    // connection made again may have had to pin another version, whose rows
    // and ranks are its own (versionEpoch).
    void followVersion() const
    {
        if (m_server && m_rankEpoch != versionEpoch())
            readServerRanks();
    }
    void readServerRanks() const;
    mutable quint64 m_rankEpoch = 0;
    mutable QHash<QString, QSet<QString>> m_ranks; // table -> fields with a stored Czech rank
    QStringList m_rankWarnings;
    mutable QHash<QString, qint64> m_rankedRows;
    mutable QHash<QString, QString> m_rowidFields;
    mutable std::map<QString, std::unique_ptr<RankColumn>> m_rankColumns;
};

} // namespace kv::engine
