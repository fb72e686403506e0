#include "ui/ExclusionCommands.h"
#include "core/Settings.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <gtest/gtest.h>

TEST(ExclusionCommands, ExcludeFromTheMenuAndRefusalOnTheLastFirm)
{
    kv::settings() = kv::Settings();
    kv::settings().dataHome = kvtest::demoHome(250);
    kv::DataModule dm;
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    kv::MainWindow window(&dm, 0);
    window.show();
    const auto reapply = kv::installExclusionCommands(window, dm);
    ASSERT_TRUE(bool(reapply));

    dm.firms()->setFilter(QString(), false);
    dm.firms()->setFilter(
        "peno in(200219," + QString::number(dm.firms()->fieldAt(2, "peno").toInt()) + ")", true);
    ASSERT_EQ(dm.firms()->recordCount(), 2);
    const int first = dm.firms()->integer("peno");
    window.menus()->item("MIVyjmout")->trigger();
    EXPECT_EQ(dm.firms()->recordCount(), 1);
    ASSERT_EQ(dm.excludedFirms().size(), 1);
    EXPECT_EQ(dm.excludedFirms().first().peno, first);
    EXPECT_TRUE(dm.firms()->filter().contains("(not peno in (" + QString::number(first) + "))"));
    EXPECT_EQ(window.statusText(1), QString::fromUtf8("Počet vyjmutých záznamů : 1"));

    // One firm left: refused with message 120, nothing excluded.
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    window.menus()->item("PIVyjmout")->trigger();
    EXPECT_EQ(text, QString::fromUtf8("Nelze vyjmout poslední záznam !"));
    EXPECT_EQ(title, QString::fromUtf8("Upozornění ..."));
    EXPECT_EQ(dm.firms()->recordCount(), 1);
    EXPECT_EQ(dm.excludedFirms().size(), 1);
    kv::settings() = kv::Settings();
}
