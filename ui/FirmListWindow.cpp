#include "ui/FirmListWindow.h"

#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/FirmListModel.h"
#include "ui/ErrorBox.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace kv
{

namespace
{

const QColor SelectedBack(0, 0, 255);

// Draws a list line the way the list has always looked: the whole cell in
// the line's background, the text at the cell's left edge one pixel below
// its top, bold for a paid entry. The selected line is white on pure blue
// whatever the focus, so the current firm stays visible while another window
// is active.
class FirmLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static QFont lineFont(const QStyleOptionViewItem& option, const QModelIndex& index)
    {
        const QVariant v = index.data(Qt::FontRole);
        return v.isValid() ? qvariant_cast<QFont>(v).resolve(option.font) : option.font;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect,
                          selected ? SelectedBack : option.palette.color(QPalette::Button));
        painter->setFont(lineFont(option, index));
        painter->setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
        const QRect textRect = option.rect.adjusted(0, 1, 0, 0);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics fm(lineFont(option, index));
        return QSize(fm.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 2,
                     fm.height() + 3);
    }
};

} // namespace

FirmListWindow::FirmListWindow(DataModule* dm, QMenu* popup, QWidget* parent)
    : QWidget(parent), m_dm(dm), m_popup(popup)
{
    setObjectName(QStringLiteral("FSeznam"));

    auto* panMain = new QWidget(this);
    panMain->setObjectName(QStringLiteral("panMain"));
    panMain->setAutoFillBackground(true);
    QPalette white = panMain->palette();
    white.setColor(QPalette::Window, Qt::white);
    panMain->setPalette(white);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panMain);
    auto* inner = new QVBoxLayout(panMain);
    inner->setContentsMargins(2, 2, 2, 2); // the panel's white border

    m_model = new FirmListModel(dm, this);
    m_grid = new QTableView(panMain);
    m_grid->setObjectName(QStringLiteral("Grid"));
    inner->addWidget(m_grid);
    m_grid->setFrameShape(QFrame::NoFrame);
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setShowGrid(false);
    m_grid->setWordWrap(false);
    m_grid->setTabKeyNavigation(false);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Fixed row heights keep a million rows cheap: no row is ever measured.
    QFont bold = m_grid->font();
    bold.setBold(true);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(bold).height() + 3);
    QPalette face = m_grid->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    m_grid->setPalette(face);
    m_grid->setItemDelegate(new FirmLineDelegate(m_grid));
    m_grid->setModel(m_model);

    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { lineChosen(current); });
    connect(m_model, &FirmListModel::setChanged, this, [this]() { m_columnFloor = 0; });
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &FirmListWindow::fitColumn);
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, &FirmListWindow::showPopup);
    if (dm)
        connect(dm, &DataModule::firmMoved, this, &FirmListWindow::repaintList);

    applyTexts();
    resize(sizeHint());
    selectCurrentFirm();
}

FirmListWindow::~FirmListWindow()
{
    // The children outlive this part of the object: nothing they or the data
    // module emit from here on may reach it.
    if (m_dm)
        m_dm->disconnect(this);
    m_model->disconnect(this);
    m_grid->selectionModel()->disconnect(this);
    m_grid->verticalScrollBar()->disconnect(this);
    m_grid->disconnect(this);
    m_grid->removeEventFilter(this);
    m_grid->viewport()->removeEventFilter(this);
}

void FirmListWindow::applyTexts()
{
    setWindowTitle(loadStr(11));
}

QSize FirmListWindow::sizeHint() const
{
    return QSize(308, 499);
}

void FirmListWindow::repaintList()
{
    m_model->refresh();
    selectCurrentFirm();
    fitColumn();
    m_grid->viewport()->update();
}

void FirmListWindow::lineChosen(const QModelIndex& current)
{
    if (m_following || !current.isValid() || !m_dm)
        return;
    engine::TableCursor* firms = m_dm->firms();
    if (!firms || !firms->isOpen() || firms->position() == current.row() + 1)
        return;
    // Its after-scroll brings the line back here; a failed move puts the
    // selection back on the firm the cursor still stands on.
    if (!reportingErrors(this, [&] { firms->setPosition(current.row() + 1); }))
        selectCurrentFirm();
}

void FirmListWindow::selectCurrentFirm()
{
    QScopedValueRollback<bool> following(m_following, true);
    QItemSelectionModel* selection = m_grid->selectionModel();
    const int row = m_model->currentRow();
    if (row < 0) {
        selection->clear();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    if (selection->currentIndex() != index || !selection->isSelected(index))
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // Scroll vertically only: the line is wider than the grid, and bringing
    // its right end into view would hide the names.
    QScrollBar* across = m_grid->horizontalScrollBar();
    const int keep = across->value();
    m_grid->scrollTo(index);
    across->setValue(keep);
}

void FirmListWindow::fitColumn()
{
    // Wide enough for every line shown so far in this set, at least as wide
    // as the grid (so the selection bar spans it). Only the visible rows are
    // measured.
    const int rows = m_model->rowCount();
    const int top = rows > 0 ? m_grid->rowAt(0) : -1;
    int bottom = m_grid->rowAt(m_grid->viewport()->height() - 1);
    if (bottom < 0)
        bottom = rows - 1;
    QFont bold = m_grid->font();
    bold.setBold(true);
    const QFontMetrics normalMetrics(m_grid->font());
    const QFontMetrics boldMetrics(bold);
    for (int row = std::max(top, 0); top >= 0 && row <= bottom; ++row) {
        const QModelIndex index = m_model->index(row, 0);
        const QString text = index.data(Qt::DisplayRole).toString();
        const bool paid = index.data(Qt::FontRole).isValid();
        const int width = (paid ? boldMetrics : normalMetrics).horizontalAdvance(text) + 4;
        m_columnFloor = std::max(m_columnFloor, width);
    }
    const int width = std::max(m_grid->viewport()->width(), m_columnFloor);
    if (m_grid->columnWidth(0) != width)
        m_grid->setColumnWidth(0, width);
}

void FirmListWindow::showPopup(const QPoint& pos)
{
    if (m_popup)
        m_popup->popup(m_grid->viewport()->mapToGlobal(pos));
}

bool FirmListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        emit excludeRequested();
        return true;
    }
    if (watched == m_grid->viewport() && event->type() == QEvent::Resize)
        fitColumn();
    return QWidget::eventFilter(watched, event);
}

void FirmListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    applyTexts();
    selectCurrentFirm();
    fitColumn();
    emit shown();
}

} // namespace kv
