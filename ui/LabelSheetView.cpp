#include "ui/LabelSheetView.h"

#include <QPainter>

namespace kv
{

LabelSheetView::LabelSheetView(QWidget* parent) : QWidget(parent)
{
    // Paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelSheetView::changed(bool took)
{
    if (took)
        paint();
}

void LabelSheetView::setColor(QColor& field, const QColor& value)
{
    if (field == value)
        return;
    field = value;
    paint();
}

void LabelSheetView::setBaseColor(const QColor& c)
{
    setColor(m_base, c);
}
void LabelSheetView::setBackgroundColor(const QColor& c)
{
    setColor(m_background, c);
}
void LabelSheetView::setForegroundColor(const QColor& c)
{
    setColor(m_foreground, c);
}
void LabelSheetView::setMarginColor(const QColor& c)
{
    setColor(m_margin, c);
}

void LabelSheetView::setRound(int v)
{
    if (m_round == v)
        return;
    m_round = v;
    paint();
}

void LabelSheetView::setLeftMargin(float v)
{
    changed(m_geo.setLeftMargin(v));
}
void LabelSheetView::setRightMargin(float v)
{
    changed(m_geo.setRightMargin(v));
}
void LabelSheetView::setTopMargin(float v)
{
    changed(m_geo.setTopMargin(v));
}
void LabelSheetView::setBottomMargin(float v)
{
    changed(m_geo.setBottomMargin(v));
}
void LabelSheetView::setLengthDocument(float v)
{
    changed(m_geo.setLengthDocument(v));
}
void LabelSheetView::setWidthDocument(float v)
{
    changed(m_geo.setWidthDocument(v));
}
void LabelSheetView::setSizeWidth(float v)
{
    changed(m_geo.setSizeWidth(v));
}
void LabelSheetView::setSizeLength(float v)
{
    changed(m_geo.setSizeLength(v));
}
void LabelSheetView::setCountHorizontal(int v)
{
    changed(m_geo.setCountHorizontal(v));
}
void LabelSheetView::setCountVertical(int v)
{
    changed(m_geo.setCountVertical(v));
}
void LabelSheetView::setSpaceHorizontal(float v)
{
    changed(m_geo.setSpaceHorizontal(v));
}
void LabelSheetView::setSpaceVertical(float v)
{
    changed(m_geo.setSpaceVertical(v));
}

bool LabelSheetView::applyFields(const LabelGeometry::Fields& fields)
{
    bool took = false;
    const bool ok = m_geo.applyFields(fields, &took);
    changed(took);
    return ok;
}

void LabelSheetView::countSize()
{
    m_geo.countSize();
}

void LabelSheetView::paint()
{
    repaint();
}

void LabelSheetView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    render(painter);
}

namespace
{

// Fills the pixels from left/top up to right/bottom (exclusive); nothing for
// an empty or inverted rectangle.
void fill(QPainter& p, const QRect& r, const QColor& c)
{
    if (r.right() >= r.left() && r.bottom() >= r.top())
        p.fillRect(r, c);
}

} // namespace

void LabelSheetView::render(QPainter& painter)
{
    painter.fillRect(QRect(0, 0, width(), height()), m_base);
    const LabelGeometry::Picture pic = m_geo.picture(width(), height(), m_round);
    m_scale = pic.scale;
    fill(painter, pic.sheet, m_background);
    // A one-pixel frame inside the printable area; the labels come after it.
    const QRect a = pic.printable;
    if (a.right() >= a.left() && a.bottom() >= a.top()) {
        fill(painter, QRect(QPoint(a.left(), a.top()), QPoint(a.right(), a.top())), m_margin);
        fill(painter, QRect(QPoint(a.left(), a.bottom()), QPoint(a.right(), a.bottom())), m_margin);
        fill(painter, QRect(QPoint(a.left(), a.top()), QPoint(a.left(), a.bottom())), m_margin);
        fill(painter, QRect(QPoint(a.right(), a.top()), QPoint(a.right(), a.bottom())), m_margin);
    }
    for (const QRect& r : pic.labels)
        fill(painter, r, m_foreground);
}

} // namespace kv
