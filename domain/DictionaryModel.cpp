#include "domain/DictionaryModel.h"

#include "engine/TableCursor.h"

#include <algorithm>

namespace kv
{

DictionaryModel::DictionaryModel(QObject* parent) : QAbstractListModel(parent) {}

void DictionaryModel::setCursor(engine::TableCursor* cursor, const QString& listField)
{
    beginResetModel();
    m_cursor = cursor;
    m_listField = listField;
    endChange();
}

void DictionaryModel::endChange()
{
    m_loaded = std::min(entryCount(), int(PageSize));
    endResetModel();
}

int DictionaryModel::entryCount() const
{
    return m_cursor && m_cursor->isOpen() ? m_cursor->recordCount() : 0;
}

int DictionaryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_loaded;
}

QVariant DictionaryModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_loaded)
        return QVariant();
    return field(index.row(), m_listField).toString();
}

bool DictionaryModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_loaded < entryCount();
}

void DictionaryModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const int last = std::min(entryCount(), m_loaded + PageSize);
    beginInsertRows(QModelIndex(), m_loaded, last - 1);
    m_loaded = last;
    endInsertRows();
}

QVariant DictionaryModel::field(int row, const QString& field) const
{
    if (!m_cursor || row < 0 || row >= entryCount())
        return QVariant();
    return m_cursor->fieldAt(row + 1, field);
}

} // namespace kv
