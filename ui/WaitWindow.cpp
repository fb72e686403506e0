#include "ui/WaitWindow.h"

#include "core/StringTable.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace kv
{

WaitWindow::WaitWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FWait"));
    setFixedSize(234, 71);
    auto frame = new QFrame(this);
    frame->setStyleSheet(QStringLiteral("QFrame#frame { background: navy; }"));
    frame->setObjectName(QStringLiteral("frame"));
    auto inner = new QFrame(frame);
    inner->setObjectName(QStringLiteral("inner"));
    inner->setStyleSheet(QStringLiteral("QFrame#inner { background: #ffffe1; }"));
    auto label = new QLabel(inner);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    auto il = new QVBoxLayout(inner);
    il->addWidget(label);
    auto fl = new QVBoxLayout(frame);
    fl->setContentsMargins(3, 3, 3, 3);
    fl->addWidget(inner);
    auto outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    applyTexts();
}

void WaitWindow::applyTexts()
{
    setWindowTitle(QString());
    findChild<QLabel*>(QStringLiteral("label"))->setText(loadStr(243));
}

void WaitWindow::showNow()
{
    applyTexts();
    if (QScreen* s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kv
