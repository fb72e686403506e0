#pragma once

#include "domain/SelectionState.h"

#include <QObject>
#include <optional>

class QLineEdit;
class QListView;

namespace kv
{

class DictionaryModel;
class DataModule;

// The dictionary column of the selection window: the search box and the
// list showing the active row's dictionary, narrowed by the typed prefix.
class DictionaryPanel : public QObject
{
    Q_OBJECT
public:
    struct Entry {
        QString text; // the list field
        QString key;  // the row's key field, as the value's id
    };

    DictionaryPanel(DataModule& dm, QLineEdit* search, QListView* list, QObject* parent = nullptr);

    // Shows row's dictionary from its first entry, unfiltered, and empties
    // the search box.
    void show(SelectionState::Row row);
    bool hasRow() const { return m_row.has_value(); }
    std::optional<SelectionState::Row> row() const { return m_row; }

    // The incremental search: the dictionary keeps the entries whose text
    // begins with text. Apostrophes are removed from the box first, so the
    // pattern stays well-formed.
    void search(const QString& text);

    // The entry selected in the list, if any.
    std::optional<Entry> selected() const;
    DictionaryModel* model() const { return m_model; }

private:
    void selectFirst();

    DataModule& m_dm;
    QLineEdit* m_search;
    QListView* m_list;
    DictionaryModel* m_model;
    std::optional<SelectionState::Row> m_row;
};

} // namespace kv
