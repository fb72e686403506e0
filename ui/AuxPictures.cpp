#include "ui/AuxPictures.h"

#include <QLinearGradient>
#include <QPainter>

namespace kv
{

namespace
{
void drawTitle(QPainter& p, const QRect& r, int pointSize)
{
    QFont f(QStringLiteral("DejaVu Sans"), pointSize, QFont::Bold);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, QStringLiteral("Kvelta 2001"));
}
} // namespace

QPixmap AuxPictures::startPicture(const QSize& size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0, 96, 128));
    g.setColorAt(1, QColor(0, 40, 80));
    p.fillRect(pm.rect(), g);
    drawTitle(p, pm.rect().adjusted(0, 0, 0, -size.height() / 4), 22);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    p.drawText(pm.rect().adjusted(0, size.height() / 3, 0, 0), Qt::AlignCenter,
               QStringLiteral("Adresář firem České republiky\nLumora"));
    return pm;
}

QPixmap AuxPictures::productPicture(const QSize& size)
{
    QPixmap pm(size);
    QPainter p(&pm);
    p.fillRect(pm.rect(), QColor(0, 64, 112));
    drawTitle(p, pm.rect(), 16);
    return pm;
}

QPixmap AuxPictures::tipPicture(const QSize& size, const QString& text)
{
    QPixmap pm(size);
    pm.fill(QColor(255, 255, 225));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    p.drawText(pm.rect().adjusted(8, 8, -8, -8), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               text);
    return pm;
}

} // namespace kv
