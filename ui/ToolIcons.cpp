#include "ui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace kv
{

namespace
{
QPixmap canvas()
{
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    return pm;
}

void sheet(QPainter& p)
{
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::white);
    p.drawRect(4, 2, 12, 16);
    p.setPen(QPen(QColor(0, 0, 160), 1));
    for (int y = 6; y <= 14; y += 3)
        p.drawLine(6, y, 14, y);
}
} // namespace

QIcon ToolIcons::selection()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 2));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(3, 3, 10, 10);
    p.setPen(QPen(QColor(120, 60, 0), 3));
    p.drawLine(12, 12, 17, 17);
    return QIcon(pm);
}

QIcon ToolIcons::note()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    sheet(p);
    return QIcon(pm);
}

QIcon ToolIcons::exclude()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    sheet(p);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::red, 2.5));
    p.drawLine(5, 5, 15, 15);
    p.drawLine(15, 5, 5, 15);
    return QIcon(pm);
}

QIcon ToolIcons::flagCz()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.fillRect(1, 4, 18, 6, Qt::white);
    p.fillRect(1, 10, 18, 6, QColor(215, 20, 26));
    QPainterPath wedge;
    wedge.moveTo(1, 4);
    wedge.lineTo(10, 10);
    wedge.lineTo(1, 16);
    p.fillPath(wedge, QColor(17, 69, 126));
    return QIcon(pm);
}

QIcon ToolIcons::flagEn()
{
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.fillRect(1, 4, 18, 12, QColor(1, 33, 105));
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(1, 4, 19, 16);
    p.drawLine(19, 4, 1, 16);
    p.fillRect(8, 4, 4, 12, Qt::white);
    p.fillRect(1, 8, 18, 4, Qt::white);
    p.fillRect(9, 4, 2, 12, QColor(200, 16, 46));
    p.fillRect(1, 9, 18, 2, QColor(200, 16, 46));
    return QIcon(pm);
}

QIcon ToolIcons::product()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(0, 96, 128));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
        p.setPen(Qt::white);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(size / 2);
        f.setBold(true);
        p.setFont(f);
        p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("KV"));
        icon.addPixmap(pm);
    }
    return icon;
}

QPixmap ToolIcons::background()
{
    // A quiet tile so that the frame does not look empty behind the windows.
    QPixmap pm(64, 64);
    pm.fill(QColor(0, 82, 110));
    QPainter p(&pm);
    p.setPen(QColor(0, 96, 128));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9, QFont::Bold));
    p.drawText(QRect(0, 0, 64, 32), Qt::AlignCenter, QStringLiteral("KV"));
    p.drawText(QRect(32, 32, 32, 32), Qt::AlignCenter, QStringLiteral("·"));
    return pm;
}

} // namespace kv
