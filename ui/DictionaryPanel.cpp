#include "ui/DictionaryPanel.h"

#include "domain/CriterionRows.h"
#include "domain/DataModule.h"
#include "domain/DictionaryModel.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"

#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <algorithm>

namespace kv
{

DictionaryPanel::DictionaryPanel(DataModule& dm, QLineEdit* search, QListView* list,
                                 QObject* parent)
    : QObject(parent), m_dm(dm), m_search(search), m_list(list), m_model(new DictionaryModel(this))
{
    m_list->setModel(m_model);
    connect(m_search, &QLineEdit::textChanged, this, &DictionaryPanel::search);
    // The dictionary's current record follows the list's selection, as the
    // data module's other users of the cursor expect.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && m_model->cursor())
                    m_model->cursor()->setPosition(current.row() + 1);
            });
}

void DictionaryPanel::show(SelectionState::Row row)
{
    m_row = row;
    {
        const QSignalBlocker blocker(m_search);
        m_search->clear();
    }
    engine::TableCursor* cursor = dictionaryCursor(m_dm, row);
    m_model->setCursor(nullptr, QString());
    if (cursor) {
        try {
            cursor->close();
            cursor->setFiltered(false);
            cursor->open();
        } catch (const std::exception& e) {
            showErrorBox(m_list->window(), e);
            return;
        }
    }
    m_model->setCursor(cursor, QLatin1String(vyberRow(row).listField));
    selectFirst();
}

void DictionaryPanel::search(const QString& typed)
{
    if (!m_row)
        return;
    QString failure;
    {
        BusyCursor busy;
        QString text = typed;
        text.remove(QLatin1Char('\''));
        if (text != typed) {
            const QSignalBlocker blocker(m_search);
            const int at = m_search->cursorPosition();
            m_search->setText(text);
            m_search->setCursorPosition(std::min(at, int(text.size())));
        }
        engine::TableCursor* cursor = m_model->cursor();
        if (cursor) {
            m_model->beginChange();
            try {
                cursor->setFilter(QLatin1String(vyberRow(*m_row).listField) +
                                      QStringLiteral(" like '") + text + QStringLiteral("*'"),
                                  true);
            } catch (const std::exception& e) {
                failure = QString::fromUtf8(e.what());
            }
            m_model->endChange();
            selectFirst();
        }
    }
    if (!failure.isEmpty())
        showErrorBox(m_list->window(), failure);
}

void DictionaryPanel::selectFirst()
{
    if (m_model->rowCount() > 0)
        m_list->setCurrentIndex(m_model->index(0));
}

std::optional<DictionaryPanel::Entry> DictionaryPanel::selected() const
{
    const QModelIndex current = m_list->currentIndex();
    if (!m_row || !current.isValid() || !m_list->selectionModel()->isSelected(current))
        return std::nullopt;
    const CriterionRow& info = vyberRow(*m_row);
    Entry entry;
    entry.text = m_model->field(current.row(), QLatin1String(info.listField)).toString();
    entry.key = m_model->field(current.row(), QLatin1String(info.keyField)).toString();
    if (entry.text.isEmpty() && entry.key.isEmpty())
        return std::nullopt;
    return entry;
}

} // namespace kv
