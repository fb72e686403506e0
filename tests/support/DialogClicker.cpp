#include "tests/support/DialogClicker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace kvtest
{

void DialogClicker::onNext(std::function<void(QWidget*)> action)
{
    // Wall time, not ticks: on a loaded machine a dialog may take seconds to
    // come up, and a modal window nobody answers hangs the test for good.
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    auto timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, clock, action]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (clock->elapsed() > 30000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void DialogClicker::clickNext(QDialogButtonBox::StandardButton button, QString* seenText,
                              QString* seenTitle)
{
    onNext([=](QWidget* w) {
        if (auto box = qobject_cast<QMessageBox*>(w)) {
            if (seenText)
                *seenText = box->text();
            if (seenTitle)
                *seenTitle = box->windowTitle();
            if (QAbstractButton* b = box->button(QMessageBox::StandardButton(int(button))))
                b->click();
            else
                box->reject();
            return;
        }
        if (auto bb = w->findChild<QDialogButtonBox*>()) {
            if (QAbstractButton* b = bb->button(button)) {
                b->click();
                return;
            }
        }
        w->close();
    });
}

} // namespace kvtest
