// Quick find through the window system: typing into the tool bar's box, a
// firm picked from the drop-down with the keys, that firm shown alone, and
// Esc back to the set shown before with its exclusions.
#include "domain/QuickFind.h"
#include "engine/TableCursor.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/WindowInput.h"
#include "ui/FirmListWindow.h"
#include "ui/QuickFindBox.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QTableView>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

TEST(JourneyQuickFind, TypePickWithKeysShowOneFirmAndEscBackWithExclusions)
{
    JourneyApp app;
    kv::engine::TableCursor& firms = *app.dm().firms();
    const int all = firms.recordCount();
    kv::QuickFindBox* box = app.window().quickFind();
    ASSERT_NE(box, nullptr);
    ASSERT_FALSE(app.dm().quickFindSchema().isEmpty());
    auto grid = [&] { return app.window().listWindow()->findChild<QTableView*>("Grid"); };
    // A town's first letters, without diacritics, offer several firms.
    firms.setPosition(5);
    const QString typed = kv::QuickFind::words(firms.text("misto")).first().left(3).toUpper();
    QString filterBefore, statusShown;
    qint64 chosen = 0;
    QString chosenName;
    Journey j;
    j.then("exclude the first firm of the list",
           [&] {
               in::click(grid()->viewport(),
                         grid()->visualRect(grid()->model()->index(0, 0)).center());
               in::key(Qt::Key_Delete);
           })
        .waitFor("one firm fewer", [&] { return firms.recordCount() == all - 1; })
        .then("type into the quick-find box",
              [&] {
                  filterBefore = firms.filter();
                  in::type(in::find("edQuickFind"), typed);
              })
        .waitFor("the drop-down with firms",
                 [&] {
                     return box->edit()->text() == typed && box->offered().size() >= 2 &&
                            in::find("lbQuickFind") && in::find("lbQuickFind")->isVisible();
                 })
        .then("the second firm with Down, then Enter",
              [&] {
                  chosen = box->offered()[1].peno;
                  chosenName = box->offered()[1].nazev;
                  in::key(Qt::Key_Down);
                  in::key(Qt::Key_Return);
              })
        .waitFor("that firm alone", [&] { return firms.recordCount() == 1; })
        .then("Esc in the box",
              [&] {
                  statusShown = app.status(1);
                  EXPECT_EQ(firms.int64("peno"), chosen);
                  EXPECT_EQ(grid()->model()->rowCount(), 1);
                  in::key(Qt::Key_Escape);
              })
        .waitFor("the earlier set", [&] { return firms.recordCount() == all - 1; });
    ASSERT_TRUE(j.run());
    EXPECT_TRUE(statusShown.contains(chosenName)) << statusShown.toStdString();
    EXPECT_EQ(firms.filter(), filterBefore);
    EXPECT_EQ(app.dm().excludedFirms().size(), 1);
    EXPECT_FALSE(box->showsFoundFirm());
    // Every firm offered fits the typed text in name, IČO, street or town.
    for (const auto& row : box->offered()) {
        const QString entry =
            kv::QuickFind::words(row.nazev + u' ' + row.ico + u' ' + row.ulice + u' ' + row.misto)
                .join(u' ');
        EXPECT_TRUE(entry.contains(typed.toLower())) << row.nazev.toStdString();
    }
}

} // namespace
