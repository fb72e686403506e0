#include "reports/PageRenderer.h"

#include "reports/ReportPage.h"
#include "reports/TextMeasure.h"

#include <QPaintDevice>
#include <QPainter>

namespace kv
{

void PageRenderer::draw(QPainter& painter, const ReportPage& page, const QRectF& target)
{
    if (page.size.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(target.topLeft());
    painter.scale(target.width() / page.size.width(), target.height() / page.size.height());
    // Point sizes are resolved against the device's resolution; layout units
    // are 1/96 inch, so bring the font back to 96 dpi before the scaling.
    const qreal dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    for (const DrawOp& op : page.ops) {
        switch (op.type) {
        case DrawOp::Type::Band:
            break;
        case DrawOp::Type::Text: {
            QFont f = TextMeasure::layoutFont(op.font);
            if (f.pointSizeF() > 0)
                f.setPointSizeF(f.pointSizeF() * 96.0 / dpi);
            painter.save();
            painter.setClipRect(op.clip, Qt::IntersectClip);
            painter.setFont(f);
            painter.setPen(op.color);
            const int h = op.alignment & Qt::AlignHorizontal_Mask;
            painter.drawText(op.rect,
                             (h ? h : Qt::AlignLeft) | Qt::AlignTop | Qt::TextSingleLine |
                                 Qt::TextDontClip,
                             op.text);
            painter.restore();
            break;
        }
        case DrawOp::Type::Line: {
            QPen pen(op.color, 1, op.penStyle);
            pen.setCapStyle(Qt::FlatCap);
            painter.setPen(pen);
            painter.drawLine(op.rect.topLeft(), op.rect.bottomRight());
            break;
        }
        case DrawOp::Type::Picture:
            painter.drawImage(op.rect, op.image);
            break;
        }
    }
    painter.restore();
}

} // namespace kv
