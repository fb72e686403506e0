#include "domain/FirmListModel.h"

#include "core/Error.h"
#include "domain/DataModule.h"

#include <QFont>

namespace kv
{

FirmListModel::FirmListModel(DataModule* dm, QObject* parent)
    : QAbstractTableModel(parent), m_dm(dm)
{
    m_cursor = cursor();
    m_count = cursorCount();
    m_key = currentKey();
    if (dm)
        connect(dm, &DataModule::firmMoved, this, &FirmListModel::refresh);
}

engine::TableCursor* FirmListModel::cursor() const
{
    // The data module replaces its cursors when it opens the database again,
    // so the pointer is looked up every time rather than kept.
    return m_dm ? m_dm->firms() : nullptr;
}

int FirmListModel::cursorCount() const
{
    const engine::TableCursor* c = cursor();
    return c && c->isOpen() ? c->recordCount() : 0;
}

int FirmListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int FirmListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant FirmListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_count || index.column() != 0)
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::FontRole)
        return QVariant();
    const engine::TableCursor* c = cursor();
    if (!c)
        return QVariant();
    try {
        // Past the end while the cursor is closed or shrank before refresh():
        // an invalid record, drawn as an empty line.
        const engine::Record r = c->rowAt(index.row() + 1);
        if (!r.isValid())
            return QVariant();
        if (role == Qt::DisplayRole)
            return r.text(QStringLiteral("Prosez"));
        if (r.text(QStringLiteral("placena")).isEmpty())
            return QVariant();
        QFont bold;
        bold.setBold(true);
        return bold;
    } catch (const Error& e) {
        if (!e.is(Error::Kind::Engine))
            throw;
        // A view cannot handle an exception while painting; a row that cannot
        // be read shows empty.
        return QVariant();
    }
}

int FirmListModel::currentRow() const
{
    const engine::TableCursor* c = cursor();
    if (!c || !c->isOpen() || m_count == 0)
        return -1;
    const int row = c->position() - 1;
    return row < m_count ? row : -1;
}

FirmListModel::SetKey FirmListModel::currentKey() const
{
    SetKey key;
    if (const engine::TableCursor* c = cursor()) {
        key.cursor = c;
        key.count = cursorCount();
        key.filter = c->filterWithSets();
        key.filtered = c->isFiltered();
        key.sort = c->sort();
    }
    return key;
}

void FirmListModel::refresh()
{
    engine::TableCursor* c = cursor();
    const int count = cursorCount();
    const SetKey key = currentKey();
    const bool newSet = !(key == m_key);
    m_key = key;
    if (c != m_cursor || count != m_count) {
        beginResetModel();
        m_cursor = c;
        m_count = count;
        endResetModel();
    } else if (m_count > 0) {
        // Same number of rows, but a sort or a reopen may have put other
        // firms or other texts on them; the views repaint what they show.
        emit dataChanged(index(0, 0), index(m_count - 1, 0), {Qt::DisplayRole, Qt::FontRole});
    }
    if (newSet)
        emit setChanged();
}

} // namespace kv
