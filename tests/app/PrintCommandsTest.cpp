#include "ui/PrintCommands.h"
#include "core/Settings.h"
#include "reports/Report.h"
#include "tests/support/DemoHome.h"
#include "ui/MainWindow.h"
#include "ui/PrintPreviewWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(PrintCommands, EveryPrintCommandStartsWithANewEmptyPreview)
{
    kv::settings() = kv::Settings();
    kv::settings().dataHome = kvtest::demoHome(250);
    kv::DataModule dm;
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    kv::MainWindow window(&dm, 0);
    auto print = new kv::PrintCommands(window, dm);
    QList<std::pair<kv::Command, bool>> opened;
    for (kv::Command c :
         {kv::Command::PrintList, kv::Command::PrintProfiles, kv::Command::PrintLabels})
        print->setSettingsWindow(
            c, [&opened, c](kv::PrintPreviewWindow& preview, bool currentOnly) {
                EXPECT_TRUE(preview.findChild<QToolButton*>("sbPrint")->isEnabled());
                EXPECT_EQ(preview.report(), nullptr); // nothing generated yet
                opened << std::make_pair(c, currentOnly);
            });

    window.menus()->item("MITSeznam")->trigger();
    QPointer<kv::PrintPreviewWindow> first = print->preview();
    ASSERT_FALSE(first.isNull());
    window.menus()->item("PITiskprofil")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()); // the old preview is gone
    ASSERT_NE(print->preview(), nullptr);
    window.menus()->item("MITProfil")->trigger();
    window.menus()->item("PITiskstitky")->trigger();

    const QList<std::pair<kv::Command, bool>> expected = {
        {kv::Command::PrintList, false},
        {kv::Command::PrintProfiles, true}, // the pop-up: only the current firm
        {kv::Command::PrintProfiles, false},
        {kv::Command::PrintLabels, false}};
    EXPECT_EQ(opened, expected);
    kv::settings() = kv::Settings();
}
