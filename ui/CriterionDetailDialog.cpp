#include "ui/CriterionDetailDialog.h"
#include "ui/DialogParts.h"

#include "core/StringTable.h"
#include "ui/BusyCursor.h"
#include "ui/FixedDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace kv
{

CriterionDetailDialog::CriterionDetailDialog(QWidget* parent) : QDialog(parent)
{
    setUpFixedDialog(this, "FVyberDetail", Qt::WindowTitleHint | Qt::WindowSystemMenuHint,
                     QSize(319, 429));

    m_lPopis = new QLabel(this);
    m_lPopis->setObjectName(QStringLiteral("lPopis"));
    m_lPopis->setGeometry(19, 12, 200, 20);
    QFont bold = m_lPopis->font();
    bold.setBold(true);
    m_lPopis->setFont(bold);
    QPalette blue = m_lPopis->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    m_lPopis->setPalette(blue);

    // Created in tab order.
    m_btnOk = makeButton(this, "btnOk", QRect(226, 8, 75, 25));
    m_btnOk->setDefault(true);
    m_lbPop = new QListWidget(this);
    m_lbPop->setObjectName(QStringLiteral("lbPop"));
    m_lbPop->setGeometry(19, 40, 281, 263);
    m_lbPop->setSelectionMode(QAbstractItemView::SingleSelection);
    // Long values end in "…" at the list's edge, as in the other lists of
    // the selection; the tooltip shows them whole.
    m_lbPop->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lbPop->installEventFilter(this);
    m_rgLog = new QGroupBox(this);
    m_rgLog->setObjectName(QStringLiteral("rgLog"));
    m_rgLog->setGeometry(19, 310, 281, 48);
    auto* layout = new QHBoxLayout(m_rgLog);
    layout->setContentsMargins(8, 4, 4, 4);
    m_log = new QButtonGroup(m_rgLog);
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(m_rgLog);
        item->setObjectName(QStringLiteral("rgLog") + QString::number(i));
        layout->addWidget(item);
        m_log->addButton(item, i);
    }
    m_btnSmazat = makeButton(this, "btnSmazat", QRect(19, 392, 93, 25));
    m_btnZrusit = makeButton(this, "btnZrusit", QRect(207, 392, 93, 25));

    connect(m_btnOk, &QPushButton::clicked, this, &CriterionDetailDialog::btnOkClick);
    connect(m_btnSmazat, &QPushButton::clicked, this, &CriterionDetailDialog::btnSmazatClick);
    connect(m_btnZrusit, &QPushButton::clicked, this, &CriterionDetailDialog::reject);
    // Only the user's clicks count as a change, not showing the row's flag.
    connect(m_log, &QButtonGroup::idClicked, this, [this]() { Changed = true; });
    applyTexts();
}

CriterionDetailDialog::~CriterionDetailDialog() = default;

void CriterionDetailDialog::applyTexts()
{
    setWindowTitle(loadStr(77));
    m_btnOk->setText(loadStr(67));
    m_rgLog->setTitle(loadStr(73));
    m_log->button(0)->setText(loadStr(76));
    m_log->button(1)->setText(loadStr(75));
    m_btnSmazat->setText(loadStr(78));
    m_btnZrusit->setText(loadStr(235));
}

void CriterionDetailDialog::setLogicEnabled(bool on)
{
    m_rgLog->setEnabled(on);
}

void CriterionDetailDialog::showEvent(QShowEvent* event)
{
    {
        BusyCursor busy;
        applyTexts();
        Backup.assign(WorkList);
        m_log->button(WorkList.IsAnd ? 1 : 0)->setChecked(true);
        fillList();
        Changed = false;
    }
    QDialog::showEvent(event);
}

void CriterionDetailDialog::fillList()
{
    m_lbPop->clear();
    m_lbPop->addItems(WorkList.Texts);
    for (int i = 0; i < m_lbPop->count(); ++i)
        m_lbPop->item(i)->setToolTip(m_lbPop->item(i)->text());
    if (m_lbPop->count() > 0) {
        // A grid narrower than the list makes every row as wide as the list.
        if (!m_lbPop->gridSize().isValid())
            m_lbPop->setGridSize(QSize(1, m_lbPop->sizeHintForRow(0)));
        m_lbPop->setCurrentRow(0);
    }
    updateEnabled();
}

void CriterionDetailDialog::updateEnabled()
{
    const bool any = m_lbPop->count() > 0;
    m_lbPop->setEnabled(any);
    m_btnSmazat->setEnabled(any);
}

void CriterionDetailDialog::btnSmazatClick()
{
    const int i = m_lbPop->currentRow();
    if (WorkList.count() == 0 || i < 0 || !m_lbPop->currentItem()->isSelected())
        return;
    delete m_lbPop->takeItem(i);
    Changed = true;
    WorkList.remove(i);
    // The line that took the deleted one's place, or the new last line.
    const int left = m_lbPop->count();
    if (left > 0)
        m_lbPop->setCurrentRow(std::min(i, left - 1));
    updateEnabled();
}

bool CriterionDetailDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lbPop && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        btnSmazatClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CriterionDetailDialog::btnOkClick()
{
    WorkList.IsAnd = m_log->checkedId() == 1;
    accept();
}

void CriterionDetailDialog::reject()
{
    // Esc and the close box cancel as the button does.
    WorkList.assign(Backup);
    fillList();
    QDialog::reject();
}

} // namespace kv
