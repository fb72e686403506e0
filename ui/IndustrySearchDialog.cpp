#include "ui/IndustrySearchDialog.h"
#include "ui/DialogParts.h"

#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "engine/QueryCursor.h"
#include "engine/TableCursor.h"
#include "ui/BusyCursor.h"
#include "ui/ErrorBox.h"
#include "ui/FixedDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolTip>
#include <algorithm>

namespace kv
{

namespace
{

constexpr int CodeRole = Qt::UserRole;
// Texts narrower than the list by this much fit beside the scroll bar.
constexpr int HintMargin = 28;
constexpr int HintMaxWidth = 500;

} // namespace

IndustrySearchDialog::IndustrySearchDialog(DataModule& dm, QWidget* parent)
    : QDialog(parent), m_dm(dm)
{
    setUpFixedDialog(this, "FVyberZatrid", Qt::WindowTitleHint | Qt::WindowSystemMenuHint,
                     QSize(344, 468));
    setMouseTracking(true);

    m_lSlovnikzatrid = new QLabel(this);
    m_lSlovnikzatrid->setObjectName(QStringLiteral("lSlovnikzatrid"));
    m_lSlovnikzatrid->setWordWrap(true);
    m_lSlovnikzatrid->setGeometry(16, 8, 313, 36);
    m_edHledat = new QLineEdit(this);
    m_edHledat->setObjectName(QStringLiteral("edHledat"));
    m_edHledat->setGeometry(16, 50, 213, 24);
    m_btnHledej = makeButton(this, "btnHledej", QRect(236, 50, 93, 25));
    m_lb = new QListWidget(this);
    m_lb->setObjectName(QStringLiteral("lb"));
    m_lb->setGeometry(16, 84, 313, 321);
    m_lb->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lb->setUniformItemSizes(true);
    // Long names end in "…" at the list's edge (the hint shows them whole);
    // no sideways scrolling that would depend on the first name's length.
    m_lb->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_lb->setMouseTracking(true);
    m_lb->viewport()->setMouseTracking(true);
    m_lb->viewport()->installEventFilter(this);
    m_btnOk = makeButton(this, "btnOk", QRect(136, 424, 93, 25));
    m_btnZrusit = makeButton(this, "btnZrusit", QRect(236, 424, 93, 25));

    m_hint = new QLabel(this, Qt::ToolTip);
    m_hint->setObjectName(QStringLiteral("hint"));
    m_hint->setWordWrap(true);
    m_hint->setMargin(2);
    m_hint->setFrameShape(QFrame::Box);
    m_hint->setAutoFillBackground(true);
    m_hint->setPalette(QToolTip::palette());
    m_hint->hide();

    connect(m_edHledat, &QLineEdit::textChanged, this, &IndustrySearchDialog::edHledatChange);
    connect(m_edHledat, &QLineEdit::returnPressed, this, &IndustrySearchDialog::btnHledejClick);
    connect(m_btnHledej, &QPushButton::clicked, this, &IndustrySearchDialog::btnHledejClick);
    connect(m_btnOk, &QPushButton::clicked, this, &IndustrySearchDialog::btnOkClick);
    connect(m_btnZrusit, &QPushButton::clicked, this, &IndustrySearchDialog::reject);
    applyTexts();
}

IndustrySearchDialog::~IndustrySearchDialog() = default;

void IndustrySearchDialog::applyTexts()
{
    setWindowTitle(loadStr(175));
    m_lSlovnikzatrid->setText(loadStr(199));
    m_btnHledej->setText(loadStr(176));
    m_btnOk->setText(loadStr(67));
    m_btnZrusit->setText(loadStr(235));
}

void IndustrySearchDialog::showEvent(QShowEvent* event)
{
    applyTexts();
    fillWholeDictionary();
    hideHint();
    QDialog::showEvent(event);
}

void IndustrySearchDialog::hideEvent(QHideEvent* event)
{
    hideHint();
    QDialog::hideEvent(event);
}

void IndustrySearchDialog::fillWholeDictionary()
{
    BusyCursor busy;
    m_lb->clear();
    engine::TableCursor* t = m_dm.industries();
    if (!t)
        return;
    try {
        if (!t->isOpen())
            t->open();
    } catch (const std::exception& e) {
        showErrorBox(this, e);
        return;
    }
    // Read by position: the data module's cursor stays where it stands.
    const int n = t->recordCount();
    for (int p = 1; p <= n; ++p)
        addEntry(t->fieldAt(p, QStringLiteral("txt")).toString(),
                 t->fieldAt(p, QStringLiteral("kod")).toInt());
    fitRowsToWidth();
}

void IndustrySearchDialog::fitRowsToWidth()
{
    // A grid narrower than the list makes every row as wide as the list.
    if (m_lb->count() > 0 && !m_lb->gridSize().isValid())
        m_lb->setGridSize(QSize(1, m_lb->sizeHintForRow(0)));
}

void IndustrySearchDialog::addEntry(const QString& text, qint32 code)
{
    auto* item = new QListWidgetItem(text, m_lb);
    item->setData(CodeRole, code);
}

void IndustrySearchDialog::edHledatChange(const QString& typed)
{
    // An apostrophe would end the statement's pattern early.
    QString text = typed;
    text.remove(QLatin1Char('\''));
    if (text == typed)
        return;
    const QSignalBlocker blocker(m_edHledat);
    const int at = m_edHledat->cursorPosition();
    m_edHledat->setText(text);
    m_edHledat->setCursorPosition(std::min(at, int(text.size())));
}

void IndustrySearchDialog::search()
{
    QString text = m_edHledat->text();
    text.remove(QLatin1Char('\''));
    engine::QueryCursor q(m_dm.db());
    q.setSql({QStringLiteral("select kod,txt from zatrid where txt like '*") + text +
              QStringLiteral("*' order by kod")});
    BusyCursor busy;
    q.open();
    hideHint();
    m_lb->clear();
    for (; !q.eof(); q.next())
        addEntry(q.text(QStringLiteral("txt")), q.integer(QStringLiteral("kod")));
    q.close();
    fitRowsToWidth();
    update();
}

void IndustrySearchDialog::btnHledejClick()
{
    try {
        search();
    } catch (const std::exception& e) {
        showErrorBox(this, e);
    }
}

bool IndustrySearchDialog::anySelected() const
{
    return !m_lb->selectedItems().isEmpty();
}

QList<IndustrySearchDialog::Entry> IndustrySearchDialog::selectedEntries() const
{
    QList<Entry> out;
    for (int i = 0; i < m_lb->count(); ++i) {
        const QListWidgetItem* item = m_lb->item(i);
        if (item->isSelected())
            out.append({item->text(), item->data(CodeRole).toInt()});
    }
    return out;
}

void IndustrySearchDialog::btnOkClick()
{
    if (anySelected()) {
        accept();
        return;
    }
    QMessageBox box(QMessageBox::Warning, loadStr(80), loadStr(245), QMessageBox::Ok, this);
    box.exec();
}

bool IndustrySearchDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lb->viewport() && event->type() == QEvent::MouseMove)
        lbMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    return QDialog::eventFilter(watched, event);
}

void IndustrySearchDialog::mouseMoveEvent(QMouseEvent* event)
{
    hideHint();
    QDialog::mouseMoveEvent(event);
}

void IndustrySearchDialog::lbMouseMove(const QPoint& pos)
{
    const QListWidgetItem* item = m_lb->itemAt(pos);
    const int index = item ? m_lb->row(item) : -1;
    const QFontMetrics fm(m_lb->font());
    if (!item || fm.horizontalAdvance(item->text()) <= m_lb->width() - HintMargin) {
        hideHint();
        return;
    }
    if (m_hint->isVisible() && m_hintIndex == index)
        return;
    hideHint();
    m_hint->setText(item->text());
    const QRect text =
        fm.boundingRect(QRect(0, 0, HintMaxWidth, 10000), Qt::TextWordWrap, item->text());
    const int pad = 2 * (m_hint->margin() + m_hint->frameWidth()) + 2;
    m_hint->resize(text.width() + pad, text.height() + pad);
    const QPoint y = m_lb->viewport()->mapTo(this, pos);
    m_hint->move(mapToGlobal(QPoint(0, y.y() + 16)));
    m_hint->show();
    m_hintIndex = index;
}

void IndustrySearchDialog::hideHint()
{
    m_hint->hide();
    m_hintIndex = -1;
}

bool IndustrySearchDialog::hintShown() const
{
    return m_hint->isVisible();
}

} // namespace kv
