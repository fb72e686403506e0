#pragma once

#include "engine/SqliteCatalog.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace kv::engine
{

class Database;
class PgConnection;

// Copies a company database (SQLite) into a PostgreSQL database as a new
// version of the directory (PgDirectoryVersions): every data table with
// COPY, its keys and indexes, text columns in Czech order; then points
// kvelta.version at it in the same transaction, so readers see either the
// old complete version or the new one, and drops the old version once no
// reader can still be using it. One load at a time per database.
class PgDirectoryLoader
{
public:
    // Per table, in order: its number (1-based), the number of tables, its
    // name, the rows copied so far, and whether it is complete (indexes too).
    // Called at its start, every few thousand rows and at its end.
    using Progress =
        std::function<void(int table, int tables, const QString& name, qint64 rows, bool done)>;
    // One line about a step (indexes, switch, old versions).
    using Note = std::function<void(const QString& line)>;

    struct Result {
        QString schema;                               // the version now current
        QString previous;                             // the one it replaced, empty on a first load
        std::vector<std::pair<QString, qint64>> rows; // per table as copied
        QStringList notes;                            // what became of older versions
    };

    PgDirectoryLoader(const Database& source, PgConnection& target);
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    void setNote(Note note) { m_note = std::move(note); }
    // How long to wait for readers of the old version before keeping it.
    void setDropWait(int milliseconds) { m_dropWait = milliseconds; }
    // sourceName: what kvelta.version records as the source (a path).
    Result run(const QString& sourceName);

private:
    qint64 copyTable(const QString& schema, int index, int count,
                     const SqliteCatalog::Table& table);
    void note(const QString& line);
    const Database& m_source;
    PgConnection& m_target;
    Progress m_progress;
    Note m_note;
    int m_dropWait = 60000;
};

} // namespace kv::engine
