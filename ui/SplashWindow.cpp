#include "ui/SplashWindow.h"

#include "ui/AuxPictures.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace kv
{

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FSplash"));
    setFixedSize(329, 348);
    auto panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setStyleSheet(QStringLiteral("QFrame { background: #008080; }"));
    auto layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    auto image = new QLabel(panel);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(AuxPictures::startPicture(QSize(317, 322)));
    layout->addWidget(image, 1);
    prb = new QProgressBar(panel);
    prb->setObjectName(QStringLiteral("prb"));
    prb->setFixedHeight(14);
    prb->setTextVisible(false);
    prb->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: blue; }"));
    layout->addWidget(prb);
    auto outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    if (QScreen* s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void SplashWindow::setRange(int maximum)
{
    prb->setRange(0, maximum);
    prb->setValue(0);
}

void SplashWindow::step()
{
    prb->setValue(prb->value() + 1);
    prb->repaint();
}

} // namespace kv
