#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

struct sqlite3;

namespace kv::engine
{

class RankColumn;

// One SQLite connection (RAII). The company database is opened read-only:
// the program never changes it, and SQLite then refuses any write.
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
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }
    sqlite3* handle() const { return m_db; }

    // Runs statements without results (builders only; fails on a read-only one).
    void exec(const QString& sql);
    bool hasTable(const QString& name) const;
    // True when finishDatabase stored the Czech ranks of this table's text fields.
    bool hasRank(const QString& table, const QString& field) const
    {
        return m_ranks.value(table.toLower()).contains(field.toLower());
    }
    // Czech ranks of a field, loaded on first use (hasRank must be true).
    const RankColumn& rankColumn(const QString& table, const QString& field) const;
    // The ranks of a field if already loaded, else nullptr.
    const RankColumn* loadedRankColumn(const QString& table, const QString& field) const;
    // Any loaded rank column of the table (they all know its rows), else nullptr.
    const RankColumn* anyRankColumn(const QString& table) const;
    // Rows of a table with ranks, as counted when the database opened.
    qint64 rankedRows(const QString& table) const { return m_rankedRows.value(table.toLower()); }
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

    static QString lastError(sqlite3* db);

private:
    sqlite3* m_db = nullptr;
    QString m_path;
    bool m_readOnly = false;
    QSet<QString> m_tables;
    QHash<QString, QSet<QString>> m_ranks; // table -> fields with a stored Czech rank
    QStringList m_rankWarnings;
    QHash<QString, qint64> m_rankedRows;
    mutable QHash<QString, QString> m_rowidFields;
    mutable std::map<QString, std::unique_ptr<RankColumn>> m_rankColumns;
};

} // namespace kv::engine
