// The desktop on a server, where the quick-find index does not exist: typing
// into the tool bar's box says so on the status line instead of looking as
// if no firm matched.
#include "core/StringTable.h"
#include "tests/cli/PgLoadProbe.h"
#include "tests/support/DemoHome.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/WindowInput.h"
#include "ui/MainWindow.h"
#include "ui/QuickFindBox.h"

#include <QLineEdit>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

TEST(JourneyServerQuickFind, TypingOnAServerSaysQuickFindIsNotAvailable)
{
    const QString home = demoHome(60);
    PgTestDatabase server;
    const LoadRun loaded = dbLoad({"--home", home, server.conninfo()});
    ASSERT_EQ(loaded.code, 0) << loaded.err.toStdString();
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
}
