// The desktop on a server whose session the server ends (an administrator's
// pg_terminate_backend, a restart): the user's next click in the firm list
// says that the connection was lost and leaves the list as it was; the
// click after that connects again and shows the firm, in the same
// selection, with the same lines.
#include "core/StringTable.h"
#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/Statement.h"
#include "engine/TableCursor.h"
#include "tests/cli/PgLoadProbe.h"
#include "tests/support/DemoHome.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/WindowInput.h"
#include "ui/FirmListWindow.h"
#include "ui/MainWindow.h"

#include <QMessageBox>
#include <QTableView>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

QStringList gridLines(QTableView* grid)
{
    QStringList lines;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        lines << grid->model()->index(r, 0).data().toString();
    return lines;
}

bool clickLine(QTableView* grid, int row)
{
    return in::click(grid->viewport(), grid->visualRect(grid->model()->index(row, 0)).center());
}

} // namespace

TEST(JourneyServerReconnect, AnEndedSessionShowsTheMessageAndTheNextClickShowsTheFirmsAgain)
{
    PgTestDatabase server;
    const QString home = demoHomeOnServer(server, 60);
    ASSERT_FALSE(home.isEmpty());
    JourneyApp app(home, server.conninfo());
    ASSERT_TRUE(app.dm().db().isServer());
    kv::engine::TableCursor& firms = *app.dm().firms();
    // The user's selection: five firms by their company numbers, as a
    // selection carries them.
    QStringList numbers;
    for (int p = 1; p <= 5; ++p)
        numbers << QString::number(firms.rowAt(p * 7).value("peno").toLongLong());
    const QString selection = QStringLiteral("peno in(%1)").arg(numbers.join(u','));
    firms.setFilter(selection, true);
    ASSERT_EQ(firms.recordCount(), 5);
    auto* grid = app.window().listWindow()->findChild<QTableView*>("Grid");
    ASSERT_NE(grid, nullptr);
    const QStringList before = gridLines(grid);
    kv::engine::PgConnection admin(server.conninfo());
    kv::engine::Statement session(app.dm().db(), "SELECT pg_backend_pid()");
    ASSERT_TRUE(session.step());
    const qint64 pid = session.int64(0);
    const QString status = kv::loadStr(195) + QStringLiteral("  3 / 5");
    QString message;
    Journey j;
    j.waitFor("the selection in the list", [&] { return grid->model()->rowCount() == 5; })
        .then("the server ends the program's session; click the third firm's line",
              [&] {
                  admin.query("SELECT pg_terminate_backend($1, 10000)", {pid});
                  clickLine(grid, 2);
              })
        .waitFor("a message", [] { return boxInFront() != nullptr; })
        .then("read it", [&] { answerBox(QMessageBox::Ok, &message); })
        .waitFor("the main window, still on the first firm",
                 [&] { return in::frontIs("FMain") && firms.position() == 1; })
        .then("click the third firm's line again", [&] { clickLine(grid, 2); })
        .waitFor("the third firm of the same selection",
                 [&] { return firms.position() == 3 && app.status(0) == status; });
    ASSERT_TRUE(j.run());
    EXPECT_TRUE(message.contains("was lost")) << message.toStdString();
    EXPECT_EQ(firms.filter(), selection);
    EXPECT_EQ(firms.recordCount(), 5);
    EXPECT_EQ(gridLines(grid), before);
    EXPECT_TRUE(before[2].contains(firms.text("nazev"))) << before[2].toStdString();
    EXPECT_EQ(grid->currentIndex().row(), 2);
}
