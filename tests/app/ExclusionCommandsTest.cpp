#include "app/ExclusionCommands.h"
#include "app/TFMain.h"
#include "app/core/Global.h"
#include "tests/app/DemoHome.h"
#include "tests/support/DialogClicker.h"

#include <QAction>
#include <gtest/gtest.h>

TEST(ExclusionCommands, ExcludeFromTheMenuAndRefusalOnTheLastFirm)
{
    kv::global() = kv::GlobalState();
    kv::global().dataHome = kvtest::demoHome(250);
    kv::TDM dm;
    ASSERT_EQ(dm.OpenDatabase().status, kv::TDM::OpenStatus::Opened);
    kv::TFMain window(&dm, 0);
    window.show();
    const auto reapply = kv::installExclusionCommands(window, dm);
    ASSERT_TRUE(bool(reapply));

    dm.TFirma->setFilter(QString(), false);
    dm.TFirma->setFilter(
        "peno in(200219," + QString::number(dm.TFirma->fieldAt(2, "peno").toInt()) + ")", true);
    ASSERT_EQ(dm.TFirma->recordCount(), 2);
    const int first = dm.TFirma->integer("peno");
    window.menus()->item("MIVyjmout")->trigger();
    EXPECT_EQ(dm.TFirma->recordCount(), 1);
    ASSERT_EQ(dm.ExcludedFirms().size(), 1);
    EXPECT_EQ(dm.ExcludedFirms().first().peno, first);
    EXPECT_TRUE(dm.TFirma->filter().contains("(not peno in (" + QString::number(first) + "))"));
    EXPECT_EQ(window.statusText(1), QString::fromUtf8("Počet vyjmutých záznamů : 1"));

    // One firm left: refused with message 120, nothing excluded.
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    window.menus()->item("PIVyjmout")->trigger();
    EXPECT_EQ(text, QString::fromUtf8("Nelze vyjmout poslední záznam !"));
    EXPECT_EQ(title, QString::fromUtf8("Upozornění ..."));
    EXPECT_EQ(dm.TFirma->recordCount(), 1);
    EXPECT_EQ(dm.ExcludedFirms().size(), 1);
    kv::global() = kv::GlobalState();
}
