// The desktop on a server: the tool bar's quick-find box offers the firms
// the data home's own index would offer, in the same order, and picking one
// shows it; on a version loaded without the index, typing says that quick
// find is not available instead of looking as if no firm matched.
#include "core/StringTable.h"
#include "domain/QuickFind.h"
#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/QuickFindIndex.h"
#include "engine/ServerDirectory.h"
#include "engine/TableCursor.h"
#include "tests/cli/PgLoadProbe.h"
#include "tests/support/DemoHome.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/WindowInput.h"
#include "ui/FirmListWindow.h"
#include "ui/MainWindow.h"
#include "ui/QuickFindBox.h"

#include <QAbstractItemView>
#include <QDir>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

// The lines the drop-down shows.
QStringList shownLines()
{
    QStringList lines;
    auto* view = qobject_cast<QAbstractItemView*>(in::find("lbQuickFind"));
    if (!view || !view->isVisible())
        return lines;
    for (int r = 0; r < view->model()->rowCount(); ++r)
        lines << view->model()->index(r, 0).data().toString();
    return lines;
}

// What the data home's own index offers for text, as the box shows it.
QStringList homeLines(const QString& home, const QString& text)
{
    kv::engine::Database db(QDir(home).filePath("Dta/KV2001.db"));
    QTemporaryDir cache;
    const QString schema = kv::engine::QuickFindIndex::attach(db, cache.path());
    QStringList lines;
    for (const auto& r : kv::QuickFind(db, schema).find(text))
        lines << QStringLiteral("%1, %2, %3 %4").arg(r.nazev, r.misto, kv::loadStr(283), r.ico);
    return lines;
}

} // namespace

TEST(JourneyServerQuickFind, TypingOnAServerOffersTheHomesFirmsAndShowsThePickedOne)
{
    PgTestDatabase server;
    const QString home = demoHomeOnServer(server, 60);
    ASSERT_FALSE(home.isEmpty());
    JourneyApp app(home, server.conninfo());
    ASSERT_TRUE(app.dm().db().isServer());
    kv::QuickFindBox* box = app.window().quickFind();
    ASSERT_NE(box, nullptr);
    kv::engine::TableCursor& firms = *app.dm().firms();
    auto grid = [&] { return app.window().listWindow()->findChild<QTableView*>("Grid"); };
    // A town's first letters, in capitals and without diacritics, as few
    // as offer several firms.
    firms.setFilter(QString(), false);
    firms.setPosition(7);
    const QString town = kv::QuickFind::words(firms.text("misto")).first();
    QString typed;
    QStringList expected;
    for (int n = 3; n >= 1 && expected.size() < 2; --n) {
        typed = town.left(n).toUpper();
        expected = homeLines(home, typed);
    }
    ASSERT_GE(expected.size(), 2) << typed.toStdString();
    QStringList seen;
    QString picked;
    Journey j;
    j.then("type a town's first letters into the quick-find box",
           [&] { in::type(in::find("edQuickFind"), typed); })
        .waitFor("the drop-down offers firms",
                 [&] { return box->edit()->text() == typed && shownLines().size() >= 2; })
        .then("the first firm with Enter",
              [&] {
                  seen = shownLines();
                  picked = box->offered().front().nazev;
                  in::key(Qt::Key_Return);
              })
        .waitFor("that firm alone in the list", [&] {
            return firms.recordCount() == 1 && grid() && grid()->model()->rowCount() == 1;
        });
    ASSERT_TRUE(j.run());
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(firms.text("nazev"), picked);
    EXPECT_TRUE(grid()->model()->index(0, 0).data().toString().contains(picked));
    EXPECT_TRUE(app.status(1).contains(picked)) << app.status(1).toStdString();
}

TEST(JourneyServerQuickFind, AVersionLoadedWithoutTheIndexSaysQuickFindIsNotAvailable)
{
    PgTestDatabase server;
    const QString home = demoHomeOnServer(server, 60);
    ASSERT_FALSE(home.isEmpty());
    {
        // As a load by an older kvelta left it.
        kv::engine::PgConnection admin(server.conninfo());
        const QString version = admin.query("SELECT schema_name FROM kvelta.version").text(0, 0);
        admin.exec(QStringLiteral("DROP TABLE %1.kv_quickfind").arg(admin.identifier(version)));
    }
    JourneyApp app(home, server.conninfo());
    ASSERT_TRUE(app.dm().db().isServer());
    kv::QuickFindBox* box = app.window().quickFind();
    ASSERT_NE(box, nullptr);
    Journey j;
    j.then("type a name into the quick-find box", [] {
         in::type(in::find("edQuickFind"), QStringLiteral("Nov"));
     }).waitFor("the box holds the text and the status line says why nothing is offered", [&] {
        return box->edit()->text() == "Nov" && app.status(1) == kv::loadStr(259);
    });
    ASSERT_TRUE(j.run());
    EXPECT_TRUE(box->offered().empty());
    EXPECT_TRUE(shownLines().isEmpty());
}
