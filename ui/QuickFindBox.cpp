#include "ui/QuickFindBox.h"

#include "core/StringTable.h"
#include "domain/QuickFind.h"
#include "ui/ErrorBox.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolButton>

namespace kv
{

QuickFindBox::QuickFindBox(DataModule* dm, std::function<QString()> statusText,
                           std::function<void(const QString&)> setStatusText, QWidget* parent)
    : QWidget(parent), m_dm(dm), m_statusText(std::move(statusText)),
      m_setStatusText(std::move(setStatusText))
{
    setObjectName(QStringLiteral("panQuickFind"));
    auto layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(2);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("edQuickFind"));
    m_edit->setClearButtonEnabled(true);
    m_edit->setMinimumWidth(180);
    m_edit->installEventFilter(this);
    layout->addWidget(m_edit);
    m_back = new QToolButton(this);
    m_back->setObjectName(QStringLiteral("sbQuickBack"));
    m_back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    m_back->setAutoRaise(true);
    m_back->setFixedSize(25, 25);
    m_back->setEnabled(false);
    layout->addWidget(m_back);
    connect(m_back, &QToolButton::clicked, this, &QuickFindBox::back);

    m_model = new QStandardItemModel(this);
    m_completer = new QCompleter(m_model, this);
    // Not the line edit's own completer: picking must not overwrite the text.
    m_completer->setWidget(m_edit);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);
    m_completer->popup()->setObjectName(QStringLiteral("lbQuickFind"));
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                if (index.row() >= 0 && size_t(index.row()) < m_rows.size())
                    showFirm(m_rows[size_t(index.row())]);
            });
    connect(m_edit, &QLineEdit::textEdited, this, &QuickFindBox::search);
    applyTexts();
}

void QuickFindBox::applyTexts()
{
    m_edit->setPlaceholderText(loadStr(280));
    m_edit->setToolTip(loadStr(280));
    m_back->setToolTip(loadStr(281));
}

void QuickFindBox::search(const QString& text)
{
    m_rows.clear();
    m_model->clear();
    if (m_dm && m_dm->ready() && m_dm->quickFindSchema().isEmpty() && !text.trimmed().isEmpty()) {
        // No index to ask (a version on a server loaded without one, or a
        // side index that could not be built): say so rather than look as
        // if nothing matched.
        m_setStatusText(loadStr(259));
    } else if (m_dm && m_dm->ready() && !m_dm->quickFindSchema().isEmpty()) {
        try {
            m_rows = QuickFind(m_dm->db(), m_dm->quickFindSchema()).find(text);
        } catch (const std::exception& e) {
            showErrorBox(this, e);
        }
    }
    for (const engine::QuickFindRow& r : m_rows) {
        auto item = new QStandardItem(
            QStringLiteral("%1, %2, %3 %4").arg(r.nazev, r.misto, loadStr(283), r.ico));
        item->setEditable(false);
        m_model->appendRow(item);
    }
    if (m_rows.empty())
        m_completer->popup()->hide();
    else {
        m_completer->complete();
        // The best firm is current, so Enter right away picks it.
        m_completer->popup()->setCurrentIndex(m_completer->completionModel()->index(0, 0));
    }
}

void QuickFindBox::showFirm(const engine::QuickFindRow& firm)
{
    engine::TableCursor* firms = m_dm ? m_dm->firms() : nullptr;
    if (!firms)
        return;
    // The set to come back to is the one shown before the first find.
    if (!m_saved)
        m_saved =
            Saved{firms->filter(), firms->isFiltered(), m_dm->excludedFirms(), m_statusText(), QString()};
    const QString shown = QStringLiteral("peno in(%1)").arg(firm.peno);
    m_saved->shown = shown;
    try {
        firms->setFilter(shown, true);
    } catch (const std::exception& e) {
        showErrorBox(this, e);
        return;
    }
    m_back->setEnabled(true);
    m_setStatusText(loadStr(282).arg(firm.nazev));
    // The keyboard stays in the box (not in the closed drop-down), so Esc
    // goes back.
    window()->activateWindow();
    m_edit->setFocus();
}

void QuickFindBox::back()
{
    if (!m_saved || !m_dm || !m_dm->firms())
        return;
    const Saved saved = *m_saved;
    m_saved.reset();
    m_back->setEnabled(false);
    // A selection or exclusion made meanwhile replaced the found firm; that
    // set stays.
    if (m_dm->firms()->filter() != saved.shown)
        return;
    m_dm->excludedFirms() = saved.excluded;
    try {
        m_dm->firms()->setFilter(saved.filter, saved.filtered);
    } catch (const std::exception& e) {
        showErrorBox(this, e);
    }
    m_setStatusText(saved.status);
}

bool QuickFindBox::eventFilter(QObject* watched, QEvent* event)
{
    // Keys reach the box here only while no list drops down; with it open
    // the list takes them.
    // Esc is a shortcut elsewhere in the window; in the box it goes back.
    if (watched == m_edit && event->type() == QEvent::ShortcutOverride && m_saved &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
    }
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_rows.empty()) {
            showFirm(m_rows.front());
            return true;
        }
        if (key == Qt::Key_Escape && m_saved) {
            back();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kv
