// The language switch is complete: after switching, no window shows a text
// of the other language, whether it is open at the time (main window, list,
// profile, status bar, menus) or opened later (every dialog).
#include "core/Settings.h"
#include "core/StringTable.h"
#include "tests/support/ProgramWindows.h"
#include "tests/support/WidgetTexts.h"
#include "ui/ProfileCommands.h"
#include "ui/ProfileWindow.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace
{

QStringList leftovers(kvtest::ProgramWindows& windows, int langBase)
{
    const QList<QString> other = kvtest::languageOnlyTexts(langBase == 0 ? 500 : 0);
    QStringList found;
    windows.forEachWindow([&](QWidget* window, const QString& name) {
        for (const kvtest::ShownText& t : kvtest::shownTexts(window))
            if (kvtest::showsTextOf(t.text, other))
                found << name + QStringLiteral(": ") + t.where + QStringLiteral(": ") + t.text;
    });
    return found;
}

QToolButton* flag(kvtest::ProgramWindows& windows, const char* name)
{
    return windows.main->findChild<QToolButton*>(QLatin1String(name));
}

} // namespace

TEST(LanguageSwitch, EveryWindowFollowsItBothWays)
{
    kvtest::ProgramWindows windows(60);
    windows.main->runCommand(kv::Command::ProfileWindow);
    windows.main->runCommand(kv::Command::Exclude); // a count in the status bar
    QApplication::processEvents();
    ASSERT_NE(kv::profileWindow(), nullptr);
    ASSERT_FALSE(windows.main->statusText(1).isEmpty());
    EXPECT_TRUE(leftovers(windows, 0).isEmpty()) << leftovers(windows, 0).join("\n").toStdString();

    flag(windows, "sbEN")->click();
    ASSERT_EQ(kv::settings().langBase, 500);
    EXPECT_TRUE(leftovers(windows, 500).isEmpty())
        << leftovers(windows, 500).join("\n").toStdString();
    // Spot checks of what was Czech before: the profile, the links menu, the
    // typo in the profile's link, the excluded count.
    kv::ProfileWindow* profile = kv::profileWindow();
    EXPECT_EQ(profile->windowTitle(), "Company Profile");
    EXPECT_TRUE(profile->webKVText()->toolTip().isEmpty() ||
                !profile->webKVText()->toolTip().contains("intenetu"));
    EXPECT_TRUE(kv::loadStr(223).contains("Internet"));
    EXPECT_EQ(windows.main->menus()->item("MIDuleziteOdkazy")->text(), "&Useful links");
    EXPECT_EQ(windows.main->statusText(1), "Number of excluded records : 1");
    for (QMdiSubWindow* sub : windows.main->mdiArea()->subWindowList())
        EXPECT_EQ(sub->windowTitle(), sub->widget()->windowTitle());

    flag(windows, "sbCZ")->click();
    ASSERT_EQ(kv::settings().langBase, 0);
    EXPECT_TRUE(leftovers(windows, 0).isEmpty()) << leftovers(windows, 0).join("\n").toStdString();
    EXPECT_EQ(profile->windowTitle(), QString::fromUtf8("Profil firmy"));
}

TEST(LanguageSwitch, QtOwnButtonsFollowIt)
{
    kvtest::ProgramWindows windows(20);
    const auto yes = []() {
        QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    flag(windows, "sbEN")->click();
    EXPECT_EQ(yes(), "&Yes");
    flag(windows, "sbCZ")->click();
    EXPECT_EQ(yes(), "&Ano");
}
