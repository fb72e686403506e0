#pragma once

#include "engine/TableCursor.h"

#include <QAbstractListModel>
#include <QPointer>

namespace kv
{

// One line per entry of a dictionary cursor, for the selection window's
// dictionary list. Dictionaries hold up to about 100,000 entries, so lines
// are handed to the view in pages as it scrolls, and each line's text is
// read from the cursor only when the view draws it.
class DictionaryModel : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int PageSize = 200;

    explicit DictionaryModel(QObject* parent = nullptr);

    // Shows cursor's rows with the text of listField; nullptr shows nothing.
    void setCursor(engine::TableCursor* cursor, const QString& listField);
    engine::TableCursor* cursor() const { return m_cursor; }
    // Call around any change of the cursor's set (filter, reopening).
    void beginChange() { beginResetModel(); }
    void endChange();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // Number of entries of the cursor, loaded into the view or not.
    int entryCount() const;
    QVariant field(int row, const QString& field) const;

private:
    QPointer<engine::TableCursor> m_cursor;
    QString m_listField;
    int m_loaded = 0;
};

} // namespace kv
