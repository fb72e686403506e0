#include "ui/PageView.h"

#include "reports/PageRenderer.h"
#include "reports/PageStore.h"
#include "reports/Report.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace kv
{

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setBackgroundRole(QPalette::Dark);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void PageView::attach(PageStore* store)
{
    if (m_store)
        disconnect(m_store, nullptr, this, nullptr);
    m_store = store;
    if (store) {
        // The first page may arrive after the view was attached.
        connect(store, &PageStore::pageAdded, this, [this] {
            updateScrollBars();
            viewport()->update();
        });
        connect(store, &PageStore::cleared, viewport(), qOverload<>(&QWidget::update));
    }
    updateScrollBars();
    viewport()->update();
    emit storeChanged();
}

void PageView::detach()
{
    attach(nullptr);
}

int PageView::pageCount() const
{
    return m_store ? m_store->pageCount() : 0;
}

void PageView::setPage(int page)
{
    m_page = qMax(1, page);
    resetScroll();
}

void PageView::setZoom(int percent)
{
    if (percent < kMinZoom || percent > kMaxZoom)
        return;
    m_zoom = percent;
    resetScroll();
}

QSizeF PageView::pagePixels() const
{
    QSizeF units(210 * Report::kUnitsPerMm, 297 * Report::kUnitsPerMm);
    if (m_store) {
        if (const ReportPage* p = m_store->page(m_page))
            units = p->size;
    }
    const qreal sx = logicalDpiX() / 96.0;
    const qreal sy = logicalDpiY() / 96.0;
    return QSizeF(units.width() * sx, units.height() * sy);
}

QSize PageView::scaledPage() const
{
    const QSizeF px = pagePixels() * (m_zoom / 100.0);
    return QSize(qRound(px.width()), qRound(px.height()));
}

QSize PageView::viewSize() const
{
    return viewport()->size();
}

void PageView::resetScroll()
{
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void PageView::updateScrollBars()
{
    const QSize page = scaledPage();
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, qMax(0, page.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setRange(0, qMax(0, page.height() - view.height()));
    verticalScrollBar()->setPageStep(view.height());
}

void PageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PageView::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = delta < 0 ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum();
    if (delta == 0 || (event->modifiers() & Qt::ControlModifier) || !atEnd) {
        m_wheelRest = 0;
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    // One notch (a touchpad's small steps summed up to one) leafs one page.
    m_wheelRest = (m_wheelRest < 0) == (delta < 0) ? m_wheelRest + delta : delta;
    if (qAbs(m_wheelRest) < QWheelEvent::DefaultDeltasPerStep)
        return;
    m_wheelRest = 0;
    if (delta < 0 && m_page < pageCount()) {
        setPage(m_page + 1);
    } else if (delta > 0 && m_page > 1) {
        setPage(m_page - 1);
        bar->setValue(bar->maximum());
    }
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    // A grey desk, whatever the style's dark colour, so the page stands out.
    painter.fillRect(viewport()->rect(), QColor(128, 128, 128));
    if (!m_store)
        return;
    const ReportPage* page = m_store->page(m_page);
    if (!page)
        return;
    const QSize size = scaledPage();
    const QSize view = viewport()->size();
    const int x = size.width() < view.width() ? (view.width() - size.width()) / 2
                                              : -horizontalScrollBar()->value();
    const int y = size.height() < view.height() ? (view.height() - size.height()) / 2
                                                : -verticalScrollBar()->value();
    const QRect target(QPoint(x, y), size);
    // A soft shadow below and right of the page, then the sheet and its edge.
    painter.fillRect(target.translated(5, 5), QColor(0, 0, 0, 40));
    painter.fillRect(target.translated(3, 3), QColor(0, 0, 0, 70));
    painter.fillRect(target, Qt::white);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(target.adjusted(0, 0, -1, -1));
    PageRenderer::draw(painter, *page, target);
}

} // namespace kv
