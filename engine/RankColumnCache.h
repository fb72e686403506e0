#pragma once

// A remembered copy of one rank column (RankColumn) in the user's cache
// folder, for one state of a database file: reading the column from the
// rank index costs about half a second of processor time for 3,000,000
// rows, the copy a few milliseconds. The copy is used only for the very
// state of the file it was made in (RankCheckCache::identity) and only when
// it is whole: its length, a hash of its contents and the order of its rows
// are checked, and anything else makes the column be read again.

#include <QString>
#include <memory>

namespace kv::engine
{

class RankColumn;

class RankColumnCache
{
public:
    // Takes the file's identity now, before the column is read, so that a
    // change while it is read is never remembered as the state before.
    RankColumnCache(const QString& dbPath, const QString& table, const QString& field,
                    const QString& cacheDir = defaultDir());

    // The remembered column of `rows` rows, or nothing.
    std::unique_ptr<RankColumn> load(qint64 rows) const;
    // Whether a copy for this state is there at its full length, by its
    // header alone: load() still checks the contents.
    bool holds(qint64 rows) const;
    // Remembers the column for the state taken at construction. A column
    // with rowids past 32 bits, or a copy that cannot be written, is left out.
    void store(const RankColumn& column) const;

    static QString defaultDir();
    static QString sideFilePath(const QString& dbPath, const QString& table, const QString& field,
                                const QString& cacheDir);

private:
    QString m_side;
    QString m_identity;
    QString m_table;
    QString m_field;
};

} // namespace kv::engine
