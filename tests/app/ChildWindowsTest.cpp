// The list and profile stay reachable inside the main window whatever its
// size: a resize re-applies the arrangement, and with no arrangement chosen
// a window outside the frame is pulled back in.
#include "tests/support/ProgramWindows.h"
#include "ui/ProfileCommands.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>

namespace
{

QStringList outside(kv::MainWindow& main)
{
    QStringList found;
    const QRect area = main.mdiArea()->viewport()->rect();
    for (QMdiSubWindow* w : main.mdiArea()->subWindowList())
        if (w->isVisible() && !area.contains(w->geometry()))
            found << QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7")
                         .arg(w->windowTitle())
                         .arg(w->x())
                         .arg(w->y())
                         .arg(w->width())
                         .arg(w->height())
                         .arg(area.width())
                         .arg(area.height());
    return found;
}

void resizeMain(kv::MainWindow& main, int w, int h)
{
    main.resize(w, h);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents(); // layout, then the posted arrangement
}

} // namespace

TEST(ChildWindows, ResizingTheMainWindowKeepsThemInside)
{
    kvtest::ProgramWindows windows(20);
    kv::MainWindow& main = *windows.main;
    main.runCommand(kv::Command::ProfileWindow);
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);
    for (int mode : {0, 1, 2}) {
        main.setMdiMod(mode);
        resizeMain(main, 1400, 1000);
        main.arrange();
        resizeMain(main, 800, 600);
        EXPECT_TRUE(outside(main).isEmpty())
            << "MdiMod " << mode << outside(main).join(", ").toStdString();
        resizeMain(main, 640, 480);
        EXPECT_TRUE(outside(main).isEmpty())
            << "MdiMod " << mode << outside(main).join(", ").toStdString();
    }
    // Side by side still means side by side after the resize.
    main.setMdiMod(0);
    resizeMain(main, 800, 600);
    const QList<QMdiSubWindow*> subs = main.mdiArea()->subWindowList(QMdiArea::CreationOrder);
    EXPECT_EQ(subs[0]->x(), 0);
    EXPECT_EQ(subs[1]->x(), subs[0]->geometry().right() + 1);
}

TEST(ChildWindows, WithoutArrangementAWindowOutsideIsPulledBack)
{
    kvtest::ProgramWindows windows(20);
    kv::MainWindow& main = *windows.main;
    main.setMdiMod(5); // arranges nothing
    resizeMain(main, 1200, 900);
    QMdiSubWindow* list = main.mdiArea()->subWindowList().first();
    list->setGeometry(900, 500, 300, 400);
    resizeMain(main, 800, 600);
    EXPECT_TRUE(outside(main).isEmpty()) << outside(main).join(", ").toStdString();
    EXPECT_GT(list->width(), 100);
}
