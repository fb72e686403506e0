#include "domain/SelectionModel.h"

#include "domain/SelectionRecord.h"

#include <QBuffer>

namespace kv
{

void SelectionModel::takeSnapshot()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    writeSelection(state, buffer);
    m_snapshot = bytes;
}

void SelectionModel::clearAll()
{
    takeSnapshot();
    state.clear();
}

void SelectionModel::restoreSnapshot()
{
    if (m_snapshot.isEmpty())
        return;
    QBuffer buffer(&m_snapshot);
    buffer.open(QIODevice::ReadOnly);
    try {
        readSelection(buffer, state);
    } catch (const std::exception&) {
        // Cancel must close the window whatever the snapshot holds.
    }
}

} // namespace kv
