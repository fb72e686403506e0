#include "ui/SelectionWindowControls.h"

#include "core/StringTable.h"
#include "domain/CriterionRows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace kv
{

namespace
{

constexpr int RowPitch = 44;

} // namespace

void SelectionWindowControls::build(QDialog* window, QObject* rowFilter)
{
    m_window = window;
    m_rowFilter = rowFilter;
    lSlovnik = new QLabel(m_window);
    lSlovnik->setObjectName(QStringLiteral("lSlovnik"));
    lSlovnik->setGeometry(8, 8, 220, 16);
    edSlovnik = new QLineEdit(m_window);
    edSlovnik->setObjectName(QStringLiteral("edSlovnik"));
    edSlovnik->setGeometry(8, 26, 220, 22);
    lSlovnik->setBuddy(edSlovnik);
    dbList = new QListView(m_window);
    dbList->setObjectName(QStringLiteral("DBList"));
    dbList->setGeometry(8, 56, 220, 316);
    dbList->setUniformItemSizes(true);
    dbList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbList->setSelectionMode(QAbstractItemView::SingleSelection);

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
        auto* box = new QCheckBox(m_window);
        box->setObjectName(QLatin1String(name));
        box->setGeometry(x, y, 236, 20);
        return box;
    };
    cbEmail = check("cbEmail", mid, 232);
    cbWWW = check("cbWWW", mid, 254);
    cbPozn = check("cbPozn", right, 232);
    rgLogV = buildLogic("rgLogV", logV, mid, 278);
    rgLogMezi = buildLogic("rgLogMezi", logMezi, mid + 120, 278);

    const auto tool = [this](const char* name, int y) {
        auto* b = new QToolButton(m_window);
        b->setObjectName(QLatin1String(name));
        b->setAutoRaise(true);
        b->setGeometry(490, y, 150, 22);
        return b;
    };
    sbFulltext = tool("sbFulltext", 8 + 3 * RowPitch + 18);
    sbTip = tool("sbTip", 8 + 4 * RowPitch + 18);
    // Below the right column's two rows; shown only when a server is set.
    sbUlozitServer = tool("sbUlozitServer", 8 + 2 * RowPitch + 4);
    sbNacistServer = tool("sbNacistServer", 8 + 2 * RowPitch + 28);
    for (QToolButton* b : {sbUlozitServer, sbNacistServer})
        b->resize(246, 22);

    lPocet = new QLabel(m_window);
    lPocet->setObjectName(QStringLiteral("lPocet"));
    lPocet->setGeometry(right, 290, 246, 20);

    const auto button = [this](const char* name, int x, int y) {
        auto* b = new QPushButton(m_window);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, y, 116, 25);
        b->setAutoDefault(false);
        return b;
    };
    btnHelp = button("btnHelp", mid, 348);
    btnSpocitat = button("btnSpocitat", right, 318);
    btnSmazat = button("btnSmazat", right, 348);
    btnOk = button("btnOk", 620, 318);
    btnZrusit = button("btnZrusit", 620, 348);
    btnOk->setDefault(true);
}

void SelectionWindowControls::buildRow(Row row, int x, int y)
{
    const QString name = QLatin1String(vyberRow(row).name);
    RowControls& c = rows[size_t(row)];
    c.label = new QLabel(m_window);
    c.label->setObjectName(QStringLiteral("l") + name);
    c.label->setGeometry(x, y, 190, 16);
    c.label->installEventFilter(m_rowFilter);
    c.edit = new QLineEdit(m_window);
    c.edit->setObjectName(QStringLiteral("ed") + name);
    c.edit->setGeometry(x, y + 18, 190, 22);
    c.edit->setReadOnly(true);
    c.edit->installEventFilter(m_rowFilter);
    c.button = new QToolButton(m_window);
    c.button->setObjectName(QStringLiteral("sb") + name);
    c.button->setGeometry(x + 194, y + 18, 42, 22);
}

QGroupBox* SelectionWindowControls::buildLogic(const char* name, QButtonGroup*& group, int x, int y)
{
    auto* box = new QGroupBox(m_window);
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

void SelectionWindowControls::applyTexts()
{
    m_window->setWindowTitle(loadStr(72));
    for (const CriterionRow& info : vyberRows()) {
        rows[size_t(info.row)].label->setText(loadStr(info.textId));
        rows[size_t(info.row)].button->setText(loadStr(197));
    }
    lSlovnik->setText(loadStr(87));
    rgLogV->setTitle(loadStr(73));
    rgLogMezi->setTitle(loadStr(74));
    for (QButtonGroup* group : {logV, logMezi}) {
        group->button(0)->setText(loadStr(76));
        group->button(1)->setText(loadStr(75));
    }
    cbEmail->setText(loadStr(236));
    cbWWW->setText(loadStr(237));
    cbPozn->setText(loadStr(238));
    sbFulltext->setText(loadStr(198));
    sbTip->setText(QStringLiteral("Tip"));
    sbUlozitServer->setText(loadStr(271));
    sbNacistServer->setText(loadStr(272));
    btnSpocitat->setText(loadStr(89));
    btnSmazat->setText(loadStr(88));
    btnHelp->setText(loadStr(93));
    btnOk->setText(loadStr(234));
    btnZrusit->setText(loadStr(235));
    lPocet->clear();
    fitToTexts();
}

void SelectionWindowControls::fitToTexts()
{
    // Each row's button takes the width its caption needs; the edit gives
    // up what the button takes, so a row keeps its place and width.
    const int rowWidth = 236;
    for (const RowControls& c : rows) {
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
    const int left = rgLogV->x(), room = cbPozn->x() - 4 - left;
    const int wM = std::min(need(rgLogMezi, logMezi), room / 2 + 20);
    const int wV = std::min(need(rgLogV, logV), room - 4 - wM);
    rgLogV->resize(wV, rgLogV->height());
    rgLogMezi->setGeometry(left + wV + 4, rgLogMezi->y(), room - wV - 4, rgLogMezi->height());
    for (QCheckBox* box : {cbEmail, cbWWW, cbPozn}) {
        const int end = box->x() < cbPozn->x() ? cbPozn->x() - 4 : m_window->width() - 4;
        box->resize(std::min(std::max(236, box->sizeHint().width()), end - box->x()),
                    box->height());
    }
}

} // namespace kv
