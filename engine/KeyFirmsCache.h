#pragma once

// A remembered copy of the firms of one key of a link table (all the company
// numbers a name word, a keyword or an industry has), in the user's cache
// folder, for one state of a database file. A word held by a million firms
// takes about 100 ms to read from the (key, peno) index on the 2-core
// machine, its copy a few milliseconds. The numbers are kept ascending as
// differences in 7-bit groups, one or two bytes a firm for a common word.
// As with RankColumnCache, a copy is used only for the very state of the file
// it was made in and only when it is whole.

#include <QString>
#include <optional>
#include <vector>

namespace kv::engine
{

class KeyFirmsCache
{
public:
    // Takes the file's identity now, before any list is read, so that a
    // change while one is read is never remembered as the state before.
    KeyFirmsCache(const QString& dbPath, const QString& table, const QString& keyField,
                  const QString& cacheDir = defaultDir());

    // The remembered firms of key, ascending and distinct, or nothing.
    std::optional<std::vector<qint64>> load(qint64 key) const;
    // Remembers firms (ascending and distinct; anything else is left out) for
    // the state taken at construction.
    void store(qint64 key, const std::vector<qint64>& firms) const;

    static QString defaultDir();
    static QString sideFilePath(const QString& dbPath, const QString& table,
                                const QString& keyField, qint64 key, const QString& cacheDir);

private:
    QString side(qint64 key) const;

    QString m_dbPath;
    QString m_cacheDir;
    QString m_identity;
    QString m_table;
    QString m_keyField;
};

} // namespace kv::engine
