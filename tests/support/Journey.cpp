#include "tests/support/Journey.h"

#include "tests/support/WindowInput.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include <gtest/gtest.h>

namespace kvtest
{

Journey& Journey::then(const QString& what, std::function<void()> action)
{
    m_steps.push_back({what, std::move(action), {}});
    return *this;
}

Journey& Journey::waitFor(const QString& what, std::function<bool()> ready)
{
    m_steps.push_back({what, {}, std::move(ready)});
    return *this;
}

Journey& Journey::failWhen(std::function<QString()> broken)
{
    m_broken = std::move(broken);
    return *this;
}

bool Journey::run()
{
    m_next = 0;
    m_failed = m_finished = false;
    m_waiting.start();
    QTimer::singleShot(0, [this] { pump(); });
    while (!m_finished)
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return !m_failed;
}

void Journey::pump()
{
    if (m_finished || m_failed)
        return;
    if (m_broken) {
        if (const QString why = m_broken(); !why.isEmpty()) {
            fail(why);
            return;
        }
    }
    if (m_next >= m_steps.size()) {
        m_finished = true;
        return;
    }
    if (input::stepsHeld()) { // an action is still being delivered
        QTimer::singleShot(10, [this] { pump(); });
        return;
    }
    Step& step = m_steps[m_next];
    if (step.ready) {
        if (!step.ready()) {
            if (m_waiting.elapsed() > m_waitMs)
                fail(QStringLiteral("timed out waiting for: ") + step.what);
            else
                QTimer::singleShot(10, [this] { pump(); });
            return;
        }
        ++m_next;
        m_waiting.restart();
        QTimer::singleShot(0, [this] { pump(); });
        return;
    }
    ++m_next;
    m_waiting.restart();
    // The next step is queued before the action runs: the action may block
    // in a modal window's event loop, where the journey goes on.
    QTimer::singleShot(10, [this] { pump(); });
    const auto action = step.action;
    if (qEnvironmentVariableIsSet("KV_JOURNEY_TRACE")) // for reading a failing journey
        fprintf(stderr, "journey step %d: %s\n", int(m_next), qPrintable(step.what));
    action();
}

void Journey::fail(const QString& why)
{
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* active = QApplication::activeWindow();
    ADD_FAILURE() << "journey step " << m_next + 1 << ": " << why.toStdString()
                  << " (modal: " << (modal ? modal->objectName().toStdString() : "none")
                  << ", active: " << (active ? active->objectName().toStdString() : "none") << ")";
    m_failed = true;
    m_unwindRounds = 0;
    unwind();
}

void Journey::unwind()
{
    // Closes whatever is modal, then the other windows that may run event
    // loops of their own (a preview), one at a time, so every blocked
    // action returns.
    QWidget* next = QApplication::activeModalWidget();
    if (!next)
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && !qobject_cast<QMainWindow*>(top) &&
                top->windowType() != Qt::ToolTip)
                next = top;
    if (next && ++m_unwindRounds < 200) {
        if (auto dialog = qobject_cast<QDialog*>(next))
            dialog->reject();
        else
            next->close();
        QTimer::singleShot(20, [this] { unwind(); });
        return;
    }
    m_finished = true;
}

} // namespace kvtest
