#include "ui/IndustryListDelegate.h"

#include <QPainter>

namespace kv
{

namespace
{

// The activity-line marker: a small navy arrow on a transparent ground.
QPixmap makeMarker()
{
    QPixmap pm(IndustryListDelegate::MarkerWidth, IndustryListDelegate::ItemHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    const QPointF arrow[] = {{3, 4}, {10, 8}, {3, 12}};
    p.drawPolygon(arrow, 3);
    return pm;
}

} // namespace

IndustryListDelegate::IndustryListDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_marker(makeMarker())
{
}

int IndustryListDelegate::textOffset(const QString& text)
{
    return isActivityLine(text) ? markerOffset() + MarkerWidth + 10 : 2;
}

QString IndustryListDelegate::shownText(const QString& text)
{
    return isActivityLine(text) ? text.mid(1) : text;
}

void IndustryListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    const QRect r = option.rect;
    const QString text = index.data().toString();
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(r, selected ? option.palette.highlight() : option.palette.base());
    QColor colour(0, 0, 128);
    if (isActivityLine(text)) {
        painter->drawPixmap(r.left() + markerOffset(), r.top(), m_marker);
        colour = Qt::black;
    }
    if (selected)
        colour = Qt::white;
    painter->setPen(colour);
    painter->setFont(option.font);
    QRect textRect = r;
    textRect.setLeft(r.left() + textOffset(text));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      shownText(text));
    painter->restore();
}

QSize IndustryListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    const QString text = index.data().toString();
    return {textOffset(text) + option.fontMetrics.horizontalAdvance(shownText(text)), ItemHeight};
}

} // namespace kv
