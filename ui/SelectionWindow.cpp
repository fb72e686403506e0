#include "ui/SelectionWindow.h"
#include "ui/DialogParts.h"

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
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

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

constexpr int RowPitch = 44;

} // namespace

SelectionWindow::SelectionWindow(DataModule& dm, QWidget* parent) : QDialog(parent), m_dm(dm)
{
    setUpFixedDialog(this, "FVyber", Qt::WindowTitleHint | Qt::WindowSystemMenuHint,
                     QSize(744, 381));
    build();
    m_dictionary = new DictionaryPanel(dm, m_edSlovnik, m_dbList, this);
    connectControls();
    applyTexts();
    clearAll();
}

SelectionWindow::~SelectionWindow() = default;

void SelectionWindow::build()
{
    m_lSlovnik = new QLabel(this);
    m_lSlovnik->setObjectName(QStringLiteral("lSlovnik"));
    m_lSlovnik->setGeometry(8, 8, 220, 16);
    m_edSlovnik = new QLineEdit(this);
    m_edSlovnik->setObjectName(QStringLiteral("edSlovnik"));
    m_edSlovnik->setGeometry(8, 26, 220, 22);
    m_lSlovnik->setBuddy(m_edSlovnik);
    m_dbList = new QListView(this);
    m_dbList->setObjectName(QStringLiteral("DBList"));
    m_dbList->setGeometry(8, 56, 220, 316);
    m_dbList->setUniformItemSizes(true);
    m_dbList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dbList->setSelectionMode(QAbstractItemView::SingleSelection);

    // Middle column: name, town, district, industry, keyword; right column:
    // company number and street.
    const int mid = 240, right = 490;
    buildRow(Row::Nazev, mid, 8);
    buildRow(Row::Misto, mid, 8 + RowPitch);
    buildRow(Row::Okres, mid, 8 + 2 * RowPitch);
    buildRow(Row::Zatrid, mid, 8 + 3 * RowPitch);
    buildRow(Row::Radky, mid, 8 + 4 * RowPitch);
    buildRow(Row::Ico, right, 8);
    buildRow(Row::Ulice, right, 8 + RowPitch);

    const auto check = [this](const char* name, int x, int y) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QLatin1String(name));
        box->setGeometry(x, y, 236, 20);
        return box;
    };
    m_cbEmail = check("cbEmail", mid, 232);
    m_cbWWW = check("cbWWW", mid, 254);
    m_cbPozn = check("cbPozn", right, 232);
    m_rgLogV = buildLogic("rgLogV", m_logV, mid, 278);
    m_rgLogMezi = buildLogic("rgLogMezi", m_logMezi, mid + 120, 278);

    const auto tool = [this](const char* name, int y) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoRaise(true);
        b->setGeometry(490, y, 150, 22);
        return b;
    };
    m_sbFulltext = tool("sbFulltext", 8 + 3 * RowPitch + 18);
    m_sbTip = tool("sbTip", 8 + 4 * RowPitch + 18);

    m_lPocet = new QLabel(this);
    m_lPocet->setObjectName(QStringLiteral("lPocet"));
    m_lPocet->setGeometry(right, 290, 246, 20);

    const auto button = [this](const char* name, int x, int y) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, y, 116, 25);
        b->setAutoDefault(false);
        return b;
    };
    m_btnHelp = button("btnHelp", mid, 348);
    m_btnSpocitat = button("btnSpocitat", right, 318);
    m_btnSmazat = button("btnSmazat", right, 348);
    m_btnOk = button("btnOk", 620, 318);
    m_btnZrusit = button("btnZrusit", 620, 348);
    m_btnOk->setDefault(true);
}

void SelectionWindow::buildRow(Row row, int x, int y)
{
    const QString name = QLatin1String(vyberRow(row).name);
    RowControls& c = m_rows[size_t(row)];
    c.label = new QLabel(this);
    c.label->setObjectName(QStringLiteral("l") + name);
    c.label->setGeometry(x, y, 190, 16);
    c.label->installEventFilter(this);
    c.edit = new QLineEdit(this);
    c.edit->setObjectName(QStringLiteral("ed") + name);
    c.edit->setGeometry(x, y + 18, 190, 22);
    c.edit->setReadOnly(true);
    c.edit->installEventFilter(this);
    c.button = new QToolButton(this);
    c.button->setObjectName(QStringLiteral("sb") + name);
    c.button->setGeometry(x + 194, y + 18, 42, 22);
    connect(c.button, &QToolButton::clicked, this, [this, row]() { sbRowClick(row); });
}

QGroupBox* SelectionWindow::buildLogic(const char* name, QButtonGroup*& group, int x, int y)
{
    auto* box = new QGroupBox(this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(x, y, 116, 64);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 4, 4, 4);
    group = new QButtonGroup(box);
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(box);
        item->setObjectName(QLatin1String(name) + QString::number(i));
        layout->addWidget(item);
        group->addButton(item, i);
    }
    return box;
}

void SelectionWindow::connectControls()
{
    connect(m_logV, &QButtonGroup::idClicked, this, &SelectionWindow::rgLogVClick);
    connect(m_logMezi, &QButtonGroup::idClicked, this,
            [this](int index) { m_model.state.rgLogMezi = index; });
    // Any change of the extra conditions makes a shown count stale.
    connect(m_cbPozn, &QCheckBox::clicked, this, [this](bool on) {
        m_model.state.cbPozn = on;
        clearCount();
    });
    connect(m_cbEmail, &QCheckBox::clicked, this, [this](bool on) {
        m_model.state.cbEmail = on;
        clearCount();
    });
    connect(m_cbWWW, &QCheckBox::clicked, this, [this](bool on) {
        m_model.state.cbWWW = on;
        clearCount();
    });
    connect(m_dbList, &QListView::doubleClicked, this, [this]() { addSelectedEntry(); });
    m_dbList->installEventFilter(this);
    connect(m_sbFulltext, &QToolButton::clicked, this, [this]() { sbFulltextClick(); });
    connect(m_sbTip, &QToolButton::clicked, this, &SelectionWindow::tipRequested);
    connect(m_btnHelp, &QPushButton::clicked, this,
            [this]() { emit helpRequested(QStringLiteral("vyber")); });
    connect(m_btnSpocitat, &QPushButton::clicked, this, &SelectionWindow::count);
    connect(m_btnSmazat, &QPushButton::clicked, this, &SelectionWindow::btnSmazatClick);
    connect(m_btnOk, &QPushButton::clicked, this, &SelectionWindow::btnOkClick);
    connect(m_btnZrusit, &QPushButton::clicked, this, &SelectionWindow::btnZrusitClick);
}

void SelectionWindow::applyTexts()
{
    setWindowTitle(loadStr(72));
    for (const CriterionRow& info : vyberRows()) {
        m_rows[size_t(info.row)].label->setText(loadStr(info.textId));
        m_rows[size_t(info.row)].button->setText(loadStr(197));
    }
    m_lSlovnik->setText(loadStr(87));
    m_rgLogV->setTitle(loadStr(73));
    m_rgLogMezi->setTitle(loadStr(74));
    for (QButtonGroup* group : {m_logV, m_logMezi}) {
        group->button(0)->setText(loadStr(76));
        group->button(1)->setText(loadStr(75));
    }
    m_cbEmail->setText(loadStr(236));
    m_cbWWW->setText(loadStr(237));
    m_cbPozn->setText(loadStr(238));
    m_sbFulltext->setText(loadStr(198));
    m_sbTip->setText(QStringLiteral("Tip"));
    m_btnSpocitat->setText(loadStr(89));
    m_btnSmazat->setText(loadStr(88));
    m_btnHelp->setText(loadStr(93));
    m_btnOk->setText(loadStr(234));
    m_btnZrusit->setText(loadStr(235));
    m_lPocet->clear();
    fitToTexts();
}

void SelectionWindow::fitToTexts()
{
    // Each row's button takes the width its caption needs; the edit gives
    // up what the button takes, so a row keeps its place and width.
    const int rowWidth = 236;
    for (const RowControls& c : m_rows) {
        const int bw = std::max(42, c.button->sizeHint().width());
        const int x = c.label->x(), y = c.edit->y();
        c.edit->setGeometry(x, y, rowWidth - bw - 4, 22);
        c.button->setGeometry(x + rowWidth - bw, y, bw, 22);
    }
    // The logic switches share the room up to the right column, each as
    // wide as its title or its widest item needs.
    const auto need = [](QGroupBox* box, QButtonGroup* items) {
        int w = box->fontMetrics().horizontalAdvance(QString(box->title()).remove(u'&')) + 16;
        const QMargins m = box->layout()->contentsMargins();
        for (QAbstractButton* item : items->buttons())
            w = std::max(w, item->sizeHint().width() + m.left() + m.right() + 4);
        return std::max(w, 100);
    };
    const int left = m_rgLogV->x(), room = m_cbPozn->x() - 4 - left;
    const int wM = std::min(need(m_rgLogMezi, m_logMezi), room / 2 + 20);
    const int wV = std::min(need(m_rgLogV, m_logV), room - 4 - wM);
    m_rgLogV->resize(wV, m_rgLogV->height());
    m_rgLogMezi->setGeometry(left + wV + 4, m_rgLogMezi->y(), room - wV - 4, m_rgLogMezi->height());
    for (QCheckBox* box : {m_cbEmail, m_cbWWW, m_cbPozn}) {
        const int end = box->x() < m_cbPozn->x() ? m_cbPozn->x() - 4 : width() - 4;
        box->resize(std::min(std::max(236, box->sizeHint().width()), end - box->x()),
                    box->height());
    }
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
        m_btnZrusit->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool SelectionWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dbList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space) {
            addSelectedEntry();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (m_btnOk->isEnabled())
                m_btnOk->click();
            return true;
        }
    }
    const bool enters =
        event->type() == QEvent::FocusIn ||
        (event->type() == QEvent::MouseButtonPress && qobject_cast<QLabel*>(watched));
    if (enters) {
        for (const CriterionRow& info : vyberRows()) {
            const RowControls& c = m_rows[size_t(info.row)];
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
    QList<QLabel*> labels{m_lSlovnik, m_lPocet};
    QList<QLineEdit*> edits{m_edSlovnik};
    for (const RowControls& c : m_rows) {
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
    m_edSlovnik->setReadOnly(false);
    m_rgLogV->setEnabled(true);
}

void SelectionWindow::activateRow(Row row)
{
    m_active = row;
    resetRows();
    const RowControls& c = m_rows[size_t(row)];
    setLook(c.edit, true, false, QPalette::Base, Qt::yellow);
    setLook(c.label, true, true, QPalette::WindowText, Qt::blue);
    m_dictionary->show(row);
    m_edSlovnik->setFocus();
    const CriterionRow& info = vyberRow(row);
    if (info.alwaysOr) {
        setLogV(0);
        m_rgLogV->setEnabled(false);
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
    if (QAbstractButton* item = m_logV->button(index))
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
    QLineEdit* edit = m_rows[size_t(row)].edit;
    edit->setText(showValues(m_model.state.row(row)));
    edit->setCursorPosition(0); // from the first value on, not the end of the last
}

void SelectionWindow::showState()
{
    const SelectionState& s = m_model.state;
    if (QAbstractButton* item = m_logV->button(s.rgLogV))
        item->setChecked(true);
    if (QAbstractButton* item = m_logMezi->button(s.rgLogMezi))
        item->setChecked(true);
    m_cbPozn->setChecked(s.cbPozn);
    m_cbEmail->setChecked(s.cbEmail);
    m_cbWWW->setChecked(s.cbWWW);
    for (const CriterionRow& info : vyberRows())
        showRow(info.row);
    updateEditButtons();
}

void SelectionWindow::updateEditButtons()
{
    for (const RowControls& c : m_rows)
        c.button->setEnabled(!c.edit->text().trimmed().isEmpty());
}

void SelectionWindow::clearCount()
{
    m_lPocet->clear();
}

engine::Filter SelectionWindow::buildFilter()
{
    BusyCursor busy;
    EngineStatementRunner runner(m_dm.db());
    FilterBuilder builder(runner, dataPath(QStringLiteral("Pozn")));
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
    m_lPocet->setText(n ? loadStr(82) + QStringLiteral(" : ") + QString::number(*n) : loadStr(196));
    QFont font = m_lPocet->font();
    font.setBold(true);
    m_lPocet->setFont(font);
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
