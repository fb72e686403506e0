#pragma once

#include "engine/Filter.h"

#include <QAbstractTableModel>
#include <QPointer>

namespace kv
{

class DataModule;
namespace engine
{
class TableCursor;
}

// The current company set (DataModule::TFirma) as a one-column table of list lines
// (the calculated field Prosez). Rows are read through the cursor's row cache
// only when a view asks for them, so a million-firm set costs nothing more
// than a small one: no row is copied or counted here.
//
// The row count is taken from the cursor and kept until refresh(), which the
// data module's after-scroll notification triggers (firmMoved). A changed
// count or a replaced cursor resets the model; anything else (a move, a sort
// or a reopen with the same count) only tells the views that the texts may
// have changed, which costs one repaint of the visible rows.
class FirmListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit FirmListModel(DataModule* dm, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // DisplayRole: Prosez; FontRole: a bold font for a paid entry (placena
    // not empty), nothing otherwise so the view's own font applies.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Row of the cursor's current firm, -1 when the set is empty or closed.
    int currentRow() const;

public slots:
    // Brings the model in line with the cursor after it moved or changed its set.
    void refresh();

signals:
    // The set may hold other lines now: another cursor, count, filter or sort.
    void setChanged();

private:
    struct SetKey {
        const engine::TableCursor* cursor = nullptr;
        int count = 0;
        engine::Filter filter; // compared without spelling its number lists
        bool filtered = false;
        QString sort;
        bool operator==(const SetKey&) const = default;
    };
    SetKey currentKey() const;

    engine::TableCursor* cursor() const;
    int cursorCount() const;

    QPointer<DataModule> m_dm;
    QPointer<engine::TableCursor> m_cursor; // the cursor the rows were counted on
    int m_count = 0;
    SetKey m_key;
};

} // namespace kv
