// The journey harness itself (tests/support/Journey, WindowInput): on a
// slow machine the timer of a journey's next step comes due while an action
// is still delivering its input; the step must wait until the whole action
// is delivered, else it acts between the action's keys (a key meant for one
// dialog then reaches the window behind it). It must still run inside a
// modal window that an action opened.
#include "tests/support/Journey.h"
#include "tests/support/WindowInput.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

// Every key takes longer than a journey's step timer, as under a sanitizer
// on a busy machine.
class SlowKeys : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            QThread::msleep(25);
        return false;
    }
};

} // namespace

TEST(JourneyHarness, NextStepWaitsForTheWholeActionAndRunsInsideAModalWindowItOpened)
{
    in::emulateWindowManager();
    QWidget window;
    window.setObjectName("okno");
    auto edit = new QLineEdit(&window);
    edit->setObjectName("edit");
    window.resize(300, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    SlowKeys slow;
    edit->installEventFilter(&slow);

    QStringList order;
    Journey j;
    j.then("type",
           [&] {
               in::type(edit, "abcd");
               order << "typed " + edit->text();
           })
        .then("the next step", [&] { order << "next sees " + edit->text(); })
        .then("open a modal window",
              [&] {
                  QDialog dialog(&window);
                  dialog.setObjectName("modal");
                  auto close = new QPushButton("x", &dialog);
                  close->setObjectName("zavrit");
                  QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
                  order << "opened";
                  dialog.exec();
                  order << "closed";
              })
        .waitFor("the modal window", [] { return in::frontIs("modal"); })
        .then("inside it",
              [&] {
                  order << "inside";
                  in::click("zavrit");
              })
        .waitFor("closed", [&] { return order.contains("closed"); });
    ASSERT_TRUE(j.run());
    EXPECT_EQ(order, QStringList({"typed abcd", "next sees abcd", "opened", "inside", "closed"}));
}
