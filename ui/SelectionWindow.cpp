#include "ui/SelectionWindow.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/CriterionRows.h"
#include "domain/DataModule.h"
#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
#include "domain/FirmCursorCompanySet.h"
#include "domain/SelectionApply.h"
#include "domain/ShowValues.h"
#include "ui/BusyCursor.h"
#include "ui/CriterionDetailDialog.h"
#include "ui/DictionaryPanel.h"
#include "ui/ErrorBox.h"
#include "ui/FixedDialog.h"
#include "ui/IndustrySearchDialog.h"
#include "ui/SelectionServerActions.h"
#include "ui/SelectionWindowControls.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace kv
{

namespace
{

// One notification of the company set's views after OK, whatever happens.
struct SuspendedViews {
    explicit SuspendedViews(engine::TableCursor& c) : cursor(c) { cursor.suspendViews(); }
    ~SuspendedViews() { cursor.resumeViews(); }
    SuspendedViews(const SuspendedViews&) = delete;
    SuspendedViews& operator=(const SuspendedViews&) = delete;
    engine::TableCursor& cursor;
};

void setLook(QWidget* w, bool bold, bool underline, QPalette::ColorRole role, const QColor& color)
{
    QFont font = w->font();
    font.setBold(bold);
    font.setUnderline(underline);
    w->setFont(font);
    QPalette palette = w->palette();
    palette.setColor(role, color);
    w->setPalette(palette);
}

} // namespace

SelectionWindow::SelectionWindow(DataModule& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setUpFixedDialog(this, "FVyber", Qt::WindowTitleHint | Qt::WindowSystemMenuHint,
                     QSize(744, 381));
    m_ui.build(this, this);
    m_dictionary = new DictionaryPanel(dm, m_ui.edSlovnik, m_ui.dbList, this);
    connectControls();
    applyTexts();
    clearAll();
}

SelectionWindow::~SelectionWindow() = default;

void SelectionWindow::connectControls()
{
    for (const CriterionRow& info : vyberRows()) {
        const Row row = info.row;
        connect(m_ui.rows[size_t(row)].button, &QToolButton::clicked, this,
                [this, row]() { sbRowClick(row); });
    }
    connect(m_ui.logV, &QButtonGroup::idClicked, this, &SelectionWindow::rgLogVClick);
    connect(m_ui.logMezi, &QButtonGroup::idClicked, this,
            [this](int index) { m_model.state.rgLogMezi = index; });
    // Any change of the extra conditions makes a shown count stale.
    connect(m_ui.cbPozn, &QCheckBox::clicked, this, [this](bool on) {
        m_model.state.cbPozn = on;
        clearCount();
    });
    connect(m_ui.cbEmail, &QCheckBox::clicked, this, [this](bool on) {
        m_model.state.cbEmail = on;
        clearCount();
    });
    connect(m_ui.cbWWW, &QCheckBox::clicked, this, [this](bool on) {
        m_model.state.cbWWW = on;
        clearCount();
    });
    connect(m_ui.dbList, &QListView::doubleClicked, this, [this]() { addSelectedEntry(); });
    m_ui.dbList->installEventFilter(this);
    connect(m_ui.sbFulltext, &QToolButton::clicked, this, [this]() { sbFulltextClick(); });
    connect(m_ui.sbTip, &QToolButton::clicked, this, &SelectionWindow::tipRequested);
    connect(m_ui.sbUlozitServer, &QToolButton::clicked, this,
            [this]() { saveSelectionToServer(*this, this); });
    connect(m_ui.sbNacistServer, &QToolButton::clicked, this, [this]() {
        if (!loadSelectionFromServer(*this, this))
            return;
        clearCount();
        activateRow(m_active.value_or(Row::Nazev));
    });
    connect(m_ui.btnHelp, &QPushButton::clicked, this,
            [this]() { emit helpRequested(QStringLiteral("vyber")); });
    connect(m_ui.btnSpocitat, &QPushButton::clicked, this, &SelectionWindow::count);
    connect(m_ui.btnSmazat, &QPushButton::clicked, this, &SelectionWindow::btnSmazatClick);
    connect(m_ui.btnOk, &QPushButton::clicked, this, &SelectionWindow::btnOkClick);
    connect(m_ui.btnZrusit, &QPushButton::clicked, this, &SelectionWindow::btnZrusitClick);
}

void SelectionWindow::applyTexts()
{
    m_ui.applyTexts();
    m_ui.sbUlozitServer->setVisible(hasSelectionServer());
    m_ui.sbNacistServer->setVisible(hasSelectionServer());
}

void SelectionWindow::showEvent(QShowEvent* event)
{
    {
        BusyCursor busy;
        applyTexts();
        if (!m_detail)
            m_detail = new CriterionDetailDialog(this);
        if (!m_zatrid)
            m_zatrid = new IndustrySearchDialog(m_dm, this);
        showState();
        activateRow(Row::Nazev);
    }
    QDialog::showEvent(event);
}

void SelectionWindow::hideEvent(QHideEvent* event)
{
    delete m_detail;
    m_detail = nullptr;
    delete m_zatrid;
    m_zatrid = nullptr;
    QDialog::hideEvent(event);
}

void SelectionWindow::sbRowClick(Row row)
{
    if (!m_detail)
        return;
    CriterionValueList& list = m_model.state.row(row);
    const bool alwaysOr = vyberRow(row).alwaysOr;
    if (alwaysOr) {
        list.IsAnd = false;
        m_detail->setLogicEnabled(false);
    }
    m_detail->lPopis()->setText(rowLabel(row)->text());
    m_detail->WorkList.assign(list);
    const int result = m_detail->exec();
    if (!m_detail)
        return;
    if (result == QDialog::Accepted) {
        list.assign(m_detail->WorkList);
        if (alwaysOr || row == Row::Zatrid)
            m_detail->WorkList.clear();
        showRow(row);
        if (m_detail->Changed)
            clearCount();
    }
    m_detail->setLogicEnabled(true);
    updateEditButtons();
    activateRow(row);
}

void SelectionWindow::sbFulltextClick()
{
    if (!m_zatrid)
        return;
    // The industry row looks active and its dictionary is unfiltered, as the
    // search window lists the whole dictionary.
    activateRow(Row::Zatrid);
    m_zatrid->searchEdit()->clear();
    const int result = m_zatrid->exec();
    if (!m_zatrid)
        return;
    if (result == QDialog::Accepted) {
        CriterionValueList& list = m_model.state.row(Row::Zatrid);
        const QList<IndustrySearchDialog::Entry> picked = m_zatrid->selectedEntries();
        // From the bottom of the result upwards.
        for (auto it = picked.crbegin(); it != picked.crend(); ++it) {
            list.IsAnd = m_model.state.rgLogV == 1;
            clearCount();
            if (!list.Texts.contains(it->text, Qt::CaseInsensitive)) {
                list.add(it->text, QString::number(it->code));
                showRow(Row::Zatrid);
            }
        }
    }
    updateEditButtons();
    activateRow(Row::Zatrid);
}

void SelectionWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape is the Cancel button, which restores the criteria; closing the
    // window by its close box keeps them as edited.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        m_ui.btnZrusit->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool SelectionWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui.dbList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space) {
            addSelectedEntry();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_ui.btnOk->isEnabled())
                m_ui.btnOk->click();
            return true;
        }
    }
    const bool enters =
        event->type() == QEvent::FocusIn ||
        (event->type() == QEvent::MouseButtonPress && qobject_cast<QLabel*>(watched));
    if (enters) {
        for (const CriterionRow& info : vyberRows()) {
            const SelectionWindowControls::RowControls& c = m_ui.rows[size_t(info.row)];
            if (watched == c.edit || watched == c.label) {
                activateRow(info.row);
                break;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SelectionWindow::resetRows()
{
    QList<QLabel*> labels{m_ui.lSlovnik, m_ui.lPocet};
    QList<QLineEdit*> edits{m_ui.edSlovnik};
    for (const SelectionWindowControls::RowControls& c : m_ui.rows) {
        labels << c.label;
        edits << c.edit;
    }
    const QPalette normal = QApplication::palette();
    for (QLabel* label : labels) {
        setLook(label, false, false, QPalette::WindowText, Qt::black);
        label->unsetCursor();
    }
    for (QLineEdit* edit : edits) {
        setLook(edit, false, false, QPalette::Base, normal.color(QPalette::Base));
        edit->setReadOnly(true);
    }
    m_ui.edSlovnik->setReadOnly(false);
    m_ui.rgLogV->setEnabled(true);
}

void SelectionWindow::activateRow(Row row)
{
    m_active = row;
    resetRows();
    const SelectionWindowControls::RowControls& c = m_ui.rows[size_t(row)];
    setLook(c.edit, true, false, QPalette::Base, Qt::yellow);
    setLook(c.label, true, true, QPalette::WindowText, Qt::blue);
    m_dictionary->show(row);
    m_ui.edSlovnik->setFocus();
    const CriterionRow& info = vyberRow(row);
    if (info.alwaysOr) {
        setLogV(0);
        m_ui.rgLogV->setEnabled(false);
    } else if (m_model.state.row(row).count() > 0) {
        setLogV(m_model.state.row(row).IsAnd ? 1 : 0);
    }
    update();
}

std::optional<SelectionWindow::Row> SelectionWindow::activeRow() const
{
    return m_active;
}

void SelectionWindow::setLogV(int index)
{
    m_model.state.rgLogV = index;
    if (QAbstractButton* item = m_ui.logV->button(index))
        item->setChecked(true);
}

void SelectionWindow::rgLogVClick(int index)
{
    m_model.state.rgLogV = index;
    if (!m_active)
        return;
    m_model.state.row(*m_active).IsAnd = index == 1;
    showRow(*m_active);
}

void SelectionWindow::addSelectedEntry()
{
    if (!m_active)
        return;
    CriterionValueList& list = m_model.state.row(*m_active);
    list.IsAnd = m_model.state.rgLogV == 1;
    if (const auto entry = m_dictionary->selected()) {
        const bool known = vyberRow(*m_active).duplicateByKey
                               ? list.Ids.contains(entry->key)
                               : list.Texts.contains(entry->text, Qt::CaseInsensitive);
        if (!known) {
            list.add(entry->text, entry->key);
            showRow(*m_active);
        }
    }
    clearCount();
    updateEditButtons();
    update();
}

void SelectionWindow::showRow(Row row)
{
    QLineEdit* edit = m_ui.rows[size_t(row)].edit;
    edit->setText(showValues(m_model.state.row(row)));
    edit->setCursorPosition(0); // from the first value on, not the end of the last
}

void SelectionWindow::showState()
{
    const SelectionState& s = m_model.state;
    if (QAbstractButton* item = m_ui.logV->button(s.rgLogV))
        item->setChecked(true);
    if (QAbstractButton* item = m_ui.logMezi->button(s.rgLogMezi))
        item->setChecked(true);
    m_ui.cbPozn->setChecked(s.cbPozn);
    m_ui.cbEmail->setChecked(s.cbEmail);
    m_ui.cbWWW->setChecked(s.cbWWW);
    for (const CriterionRow& info : vyberRows())
        showRow(info.row);
    updateEditButtons();
}

void SelectionWindow::updateEditButtons()
{
    for (const SelectionWindowControls::RowControls& c : m_ui.rows)
        c.button->setEnabled(!c.edit->text().trimmed().isEmpty());
}

void SelectionWindow::clearCount()
{
    m_ui.lPocet->clear();
}

engine::Filter SelectionWindow::buildFilter()
{
    BusyCursor busy;
    EngineStatementRunner runner(m_dm.db());
    FilterBuilder builder(runner, m_dm.notes());
    return builder.buildFilterWithSets(m_model.state);
}

bool SelectionWindow::applySelection()
{
    if (!m_dm.firms())
        return false;
    ApplyResult result;
    try {
        const engine::Filter filter = buildFilter();
        BusyCursor busy;
        FirmCursorCompanySet set(*m_dm.firms(), m_reapply);
        SuspendedViews suspended(*m_dm.firms());
        result = kv::applySelection(filter, set);
    } catch (const std::exception& e) {
        showErrorBox(this, e);
        return false;
    }
    if (!result.matched) {
        QMessageBox box(QMessageBox::Warning, loadStr(80), loadStr(79), QMessageBox::Ok, this);
        box.exec();
    }
    emit statusTextChanged(0, loadStr(82) + QStringLiteral(" : ") +
                                  QString::number(result.recordCount));
    return true;
}

void SelectionWindow::count()
{
    std::optional<int> n;
    try {
        const engine::Filter filter = buildFilter();
        BusyCursor busy;
        EngineStatementRunner runner(m_dm.db());
        n = countSelection(filter, runner);
    } catch (const std::exception& e) {
        showErrorBox(this, e);
        return;
    }
    m_ui.lPocet->setText(n ? loadStr(82) + QStringLiteral(" : ") + QString::number(*n)
                           : loadStr(196));
    QFont font = m_ui.lPocet->font();
    font.setBold(true);
    m_ui.lPocet->setFont(font);
}

void SelectionWindow::clearAll()
{
    m_model.clearAll();
    showState();
}

void SelectionWindow::restoreSnapshot()
{
    m_model.restoreSnapshot();
    showState();
}

void SelectionWindow::btnOkClick()
{
    // After an error the window stays open, so the criteria can be mended.
    if (applySelection())
        accept();
}

void SelectionWindow::btnSmazatClick()
{
    QMessageBox box(QMessageBox::Question, loadStr(85), loadStr(86),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes)
        return;
    clearAll();
    clearCount();
}

void SelectionWindow::btnZrusitClick()
{
    restoreSnapshot();
    reject();
}

} // namespace kv
