#include "ui/ElidedLabel.h"

#include <QEvent>

namespace kv
{

namespace
{
// Wider than any value the windows show in full, narrower than a screen.
constexpr int WidestHint = 600;
} // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
}

void ElidedLabel::setFullText(const QString& text)
{
    m_full = text;
    refit();
    updateGeometry();
}

QSize ElidedLabel::sizeHint() const
{
    const QMargins m = contentsMargins();
    const int full = fontMetrics().horizontalAdvance(m_full) + m.left() + m.right() + 2 * margin();
    return QSize(std::min(full, WidestHint), QLabel::minimumSizeHint().height());
}

QSize ElidedLabel::minimumSizeHint() const
{
    return QSize(fontMetrics().horizontalAdvance(QStringLiteral("W…")),
                 QLabel::minimumSizeHint().height());
}

void ElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    refit();
}

void ElidedLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        refit();
}

void ElidedLabel::refit()
{
    // Shortened at a character boundary: the font metrics never split one.
    const QString shown =
        fontMetrics().elidedText(m_full, Qt::ElideRight, std::max(0, contentsRect().width()));
    if (shown != text())
        QLabel::setText(shown);
    setToolTip(shown != m_full ? m_full : QString());
}

} // namespace kv
