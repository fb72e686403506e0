// A command whose work fails below the windows (the database turns unusable
// while the program runs) shows the program's error message and leaves the
// main window usable: no exception leaves the slot, the hourglass ends.
#include "core/StringTable.h"
#include "engine/Schema.h"
#include "engine/TableCursor.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/DemoHome.h"
#include "tests/support/FileProbe.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/WindowInput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

// Runs sql on the database file through a connection of its own, as
// another program would.
void execBehindTheProgram(const QString& path, const QString& sql)
{
    kvtest::CompanyDb::change(path, sql);
}

} // namespace

TEST(CommandFault, SortOnADamagedDatabaseShowsTheErrorAndTheWindowGoesOn)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home"));
    copyTree(demoHome(200), home);
    JourneyApp app(home);
    kv::engine::TableCursor& firms = *app.dm().firms();
    const int all = firms.recordCount();
    const QString sortBefore = firms.sort();
    ASSERT_GT(all, 1);

    // The stored Czech order of the firms goes away under the open program;
    // the town order has not been read yet (the name order, already read,
    // would re-sort the firms without the file).
    execBehindTheProgram(QDir(home).filePath(QStringLiteral("Dta/KV2001.db")),
                         QStringLiteral("DROP TABLE ") +
                             kv::engine::Schema::rankTable(QStringLiteral("firma")));

    QString title, text;
    Journey j;
    j.then("sort by town",
           [&] {
               in::chooseMenu(&app.window(), {"MIVyber", "MISort", "MISMisto"});
           })
        .waitFor("the error message", [] { return boxInFront(); })
        .then("read and close it",
              [&] {
                  QMessageBox* box = boxInFront();
                  title = box->windowTitle();
                  text = box->text();
                  EXPECT_EQ(QApplication::overrideCursor(), nullptr)
                      << "the message is shown under the hourglass";
                  in::click(box->button(QMessageBox::Ok));
              })
        .waitFor("the main window", [] { return in::frontIs("FMain"); })
        .then("the navigator: last", [] { in::click("navLast"); })
        .waitFor("the last firm", [&] { return firms.position() == all; });
    EXPECT_TRUE(j.run());

    EXPECT_EQ(title, kv::loadStr(17));
    EXPECT_TRUE(text.contains(QStringLiteral("kv_rank_firma"))) << text.toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(firms.sort(), sortBefore);
    EXPECT_EQ(firms.recordCount(), all);
}
