#include "selection/SelectionModel.h"

#include "selection/SelectionRecord.h"

#include <QBuffer>

namespace kv
{

void SelectionModel::TakeSnapshot()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    WriteSelection(state, buffer);
    m_snapshot = bytes;
}

void SelectionModel::ClearAll()
{
    TakeSnapshot();
    state.Clear();
}

void SelectionModel::RestoreSnapshot()
{
    if (m_snapshot.isEmpty())
        return;
    QBuffer buffer(&m_snapshot);
    buffer.open(QIODevice::ReadOnly);
    try {
        ReadSelection(buffer, state);
    } catch (const std::exception&) {
        // Cancel must close the window whatever the snapshot holds.
    }
}

} // namespace kv
