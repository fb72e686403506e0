#pragma once

// What the check of the stored Czech ranks (Database::reloadCatalog) found
// for one state of a database file, kept in the user's cache folder. The
// check reads every sort table and its rank table in full (four passes over
// a million rows each); an unchanged file is recognised by its identity
// instead, so opening it again costs a stat and a read of its first pages.

#include <QString>
#include <map>
#include <optional>

namespace kv::engine
{

// What identifies a table's set of rows cheaply: count, key range, key sum.
struct RowKeys {
    qint64 count = 0, min = 0, max = 0, sum = 0;
    bool operator==(const RowKeys&) const = default;
};

// The keys of a sort table and of its rank table.
struct RankCheck {
    RowKeys table, ranked;
    bool operator==(const RankCheck&) const = default;
};

class RankCheckCache
{
public:
    // Sort table name -> what its check found.
    using Result = std::map<QString, RankCheck>;

    // cacheDir: where the side files live (the user's cache folder by default).
    explicit RankCheckCache(const QString& dbPath, const QString& cacheDir = defaultDir());

    // The remembered result, when the file is still in the state it was
    // checked in.
    std::optional<Result> load() const;
    // Remembers result for the state the file had when this object was made;
    // a change since then gives another identity, so a stale result is never
    // found. A side file that cannot be written is silently left out.
    void store(const Result& result) const;

    // The file's state: device, inode, size, modification and status change
    // times in nanoseconds and a hash of the first pages (SQLite's change
    // counter lives in the header). Empty when the state cannot be told from
    // the file alone: it is missing, or a write-ahead log or a rollback
    // journal beside it holds changes.
    static QString identity(const QString& dbPath);
    static QString defaultDir();
    // The side file of the database at dbPath.
    static QString sideFilePath(const QString& dbPath, const QString& cacheDir);

private:
    QString m_side;
    QString m_identity;
};

} // namespace kv::engine
