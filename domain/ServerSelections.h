#pragma once

#include "engine/PgSelectionStore.h"

#include <QString>
#include <vector>

namespace kv
{

class SelectionState;

// The selections saved on the office's PostgreSQL server, as the windows
// and commands use them: a selection goes there as the record a selection
// file holds (one format, one parser) and comes back through the same
// reader. Each call opens its own short connection, so a server that went
// down in between is met at the next call; every failure there throws
// Error::engine, and a state to be loaded stays as it was.
class ServerSelections
{
public:
    using Entry = engine::PgSelectionStore::Entry;
    using Outcome = engine::PgSelectionStore::Outcome;
    using SaveResult = engine::PgSelectionStore::SaveResult;

    // conninfo: a libpq connection string (settings().database).
    explicit ServerSelections(QString conninfo) : m_conninfo(std::move(conninfo)) {}

    // Every saved selection, names in Czech order.
    std::vector<Entry> list() const;
    // Reads the selection saved as name into state. Returns false when the
    // server holds no such name; a damaged record throws Error::selection.
    bool load(const QString& name, SelectionState& state) const;
    // Saves state under name (see PgSelectionStore::save: an existing name is
    // replaced only with replace set, and only the author's own).
    SaveResult save(const QString& name, const SelectionState& state, bool replace) const;

    // The record of state as a selection file holds it, as text.
    static QString recordText(const SelectionState& state);

private:
    QString m_conninfo;
};

} // namespace kv
