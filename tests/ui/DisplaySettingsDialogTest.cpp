// The display settings: boxes from the flags, the classification and key
// word coupling, OK storing the flags and reloading the set, Cancel changing
// nothing.
#include "ui/DisplaySettingsDialog.h"
#include "core/Settings.h"
#include "tests/support/CompanyDb.h"
#include "ui/MainWindow.h"
#include "ui/ProfileCommands.h"
#include "ui/ProfileWindow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

using Box = kv::DisplaySettingsDialog::Box;

class Settings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.listSet();
        db.openDataModule();
    }
    // Shows the dialog modally and presses a button once it is up.
    void run(kv::DisplaySettingsDialog& dlg, const std::function<void()>& edit, bool ok)
    {
        QTimer::singleShot(0, &dlg, [&]() {
            edit();
            (ok ? dlg.okButton() : dlg.cancelButton())->click();
        });
        dlg.exec();
    }
    kvtest::CompanyDb db{kvtest::CompanyDb::Where::DataHome};
};

} // namespace

TEST_F(Settings, BoxesFollowTheFlagsOnEveryShow)
{
    kv::settings().nast[kv::NastOsoby] = false;
    kv::settings().nast[kv::NastNazev] = false; // the name box is ticked anyway
    kv::DisplaySettingsDialog dlg(&db.dm());
    run(
        dlg,
        [&]() {
            EXPECT_FALSE(dlg.box(Box::Osoby)->isChecked());
            EXPECT_TRUE(dlg.box(Box::Logo)->isChecked());
            EXPECT_TRUE(dlg.box(Box::Nazev)->isChecked());
            EXPECT_FALSE(dlg.box(Box::Nazev)->isEnabled());
        },
        false);
    EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8("Nastavení"));
}

TEST_F(Settings, ClassificationCouplesKeywords)
{
    kv::DisplaySettingsDialog dlg(&db.dm());
    run(
        dlg,
        [&]() {
            dlg.box(Box::Zatrid)->click();
            EXPECT_FALSE(dlg.box(Box::Radky)->isChecked());
            EXPECT_FALSE(dlg.box(Box::Radky)->isEnabled());
            dlg.box(Box::Zatrid)->click();
            EXPECT_TRUE(dlg.box(Box::Radky)->isEnabled());
            EXPECT_FALSE(dlg.box(Box::Radky)->isChecked()); // enabled, not ticked again
        },
        false);
}

TEST_F(Settings, OkStoresFlagsClosesTablesAndGoesToTheFirstFirm)
{
    kv::DataModule& dm = db.dm();
    dm.firms()->setPosition(3);
    kv::DisplaySettingsDialog dlg(&dm);
    run(
        dlg,
        [&]() {
            dlg.box(Box::Ulice)->click();
            dlg.box(Box::Okres)->click();
            dlg.box(Box::Osoby)->click();
            dlg.box(Box::Zatrid)->click();
        },
        true);
    EXPECT_TRUE(dlg.accepted());
    const auto& nast = kv::settings().nast;
    EXPECT_FALSE(nast[kv::NastUlice]);
    EXPECT_FALSE(nast[kv::NastOkres]);
    EXPECT_FALSE(nast[kv::NastOsoby]);
    EXPECT_FALSE(nast[kv::NastZatrid]);
    EXPECT_FALSE(nast[kv::NastRadky]);
    EXPECT_TRUE(nast[kv::NastMisto]);
    EXPECT_FALSE(dm.persons()->isOpen());
    EXPECT_FALSE(dm.industryLines()->isOpen());
    EXPECT_EQ(dm.firms()->position(), 1);
    // Name, town and postcode only.
    EXPECT_EQ(db.lineAt(1).count(QStringLiteral("; ")), 2) << db.lineAt(1).toStdString();
    EXPECT_TRUE(db.lineAt(1).startsWith(QStringLiteral("Alfa; Brno")));
}

TEST_F(Settings, CancelChangesNothing)
{
    kv::DataModule& dm = db.dm();
    dm.firms()->setPosition(3);
    const QString line = db.lineAt(3);
    const auto before = kv::settings().nast;
    kv::DisplaySettingsDialog dlg(&dm);
    run(
        dlg,
        [&]() {
            dlg.box(Box::Ulice)->click();
            dlg.box(Box::Osoby)->click();
        },
        false);
    EXPECT_FALSE(dlg.accepted());
    EXPECT_EQ(kv::settings().nast, before);
    EXPECT_EQ(dm.firms()->position(), 3);
    EXPECT_TRUE(dm.persons()->isOpen());
    EXPECT_EQ(db.lineAt(3), line);
}

TEST_F(Settings, ProfileCommandCreatesTheWindowAgainAfterClosing)
{
    kv::MainWindow window(&db.dm(), 0);
    kv::installProfileCommands(window, db.dm());
    QPointer<kv::ProfileWindow> first = kv::profileWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisibleTo(&window));
    window.runCommand(kv::Command::ProfileWindow);
    EXPECT_EQ(kv::profileWindow(), first.data()); // brought forward, not made twice
    first->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    db.firms().next(); // moving without a profile window is no error
    window.runCommand(kv::Command::ProfileWindow);
    ASSERT_TRUE(kv::profileWindow());
    EXPECT_TRUE(kv::profileWindow()->isVisibleTo(&window));
    // A move reaches the new window through the main window.
    const QString shown = kv::profileWindow()->webKVText()->text();
    db.firms().next();
    EXPECT_NE(kv::profileWindow()->webKVText()->text(), shown);
}
