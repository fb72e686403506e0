#include "printing/TPrintLabelView.h"

#include <QPainter>

namespace kv
{

TPrintLabelView::TPrintLabelView(QWidget* parent) : QWidget(parent)
{
    // Paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPrintLabelView::changed(bool took)
{
    if (took)
        Paint();
}

void TPrintLabelView::setColor(QColor& field, const QColor& value)
{
    if (field == value)
        return;
    field = value;
    Paint();
}

void TPrintLabelView::SetBaseColor(const QColor& c)
{
    setColor(m_base, c);
}
void TPrintLabelView::SetBackgroungColor(const QColor& c)
{
    setColor(m_background, c);
}
void TPrintLabelView::SetForegroundColor(const QColor& c)
{
    setColor(m_foreground, c);
}
void TPrintLabelView::SetMarginColor(const QColor& c)
{
    setColor(m_margin, c);
}

void TPrintLabelView::SetRound(int v)
{
    if (m_round == v)
        return;
    m_round = v;
    Paint();
}

void TPrintLabelView::SetLeftMargin(float v)
{
    changed(m_geo.SetLeftMargin(v));
}
void TPrintLabelView::SetRightMargin(float v)
{
    changed(m_geo.SetRightMargin(v));
}
void TPrintLabelView::SetTopMargin(float v)
{
    changed(m_geo.SetTopMargin(v));
}
void TPrintLabelView::SetBottomMargin(float v)
{
    changed(m_geo.SetBottomMargin(v));
}
void TPrintLabelView::SetLengthDocument(float v)
{
    changed(m_geo.SetLengthDocument(v));
}
void TPrintLabelView::SetWidthDocument(float v)
{
    changed(m_geo.SetWidthDocument(v));
}
void TPrintLabelView::SetSizeWidth(float v)
{
    changed(m_geo.SetSizeWidth(v));
}
void TPrintLabelView::SetSizeLength(float v)
{
    changed(m_geo.SetSizeLength(v));
}
void TPrintLabelView::SetCountHorizontal(int v)
{
    changed(m_geo.SetCountHorizontal(v));
}
void TPrintLabelView::SetCountVertical(int v)
{
    changed(m_geo.SetCountVertical(v));
}
void TPrintLabelView::SetSpaceHorizontal(float v)
{
    changed(m_geo.SetSpaceHorizontal(v));
}
void TPrintLabelView::SetSpaceVertical(float v)
{
    changed(m_geo.SetSpaceVertical(v));
}

bool TPrintLabelView::applyFields(const LabelGeometry::Fields& fields)
{
    bool took = false;
    const bool ok = m_geo.applyFields(fields, &took);
    changed(took);
    return ok;
}

void TPrintLabelView::CountSize()
{
    m_geo.CountSize();
}

void TPrintLabelView::Paint()
{
    repaint();
}

void TPrintLabelView::paintEvent(QPaintEvent*)
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

void TPrintLabelView::render(QPainter& painter)
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
