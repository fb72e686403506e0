#pragma once

#include "domain/SelectionState.h"

#include <QByteArray>

namespace kv
{

// The selection window's criteria together with the snapshot that Cancel
// returns to.
class SelectionModel
{
public:
    SelectionModel() { clearAll(); }

    SelectionState state;

    // Stores the record of the current criteria as the snapshot.
    void takeSnapshot();
    // Takes the snapshot, then returns the criteria to a fresh window.
    void clearAll();
    // Cancel: reads the snapshot back. A snapshot that cannot be read is
    // ignored and the criteria stay as they are.
    void restoreSnapshot();

    const QByteArray& snapshot() const { return m_snapshot; }

private:
    QByteArray m_snapshot;
};

} // namespace kv
