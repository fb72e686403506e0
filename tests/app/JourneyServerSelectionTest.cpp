// Saving a selection to the office's server and loading it back through the
// selection window, with input delivered through the window system: a name
// of one's own that is taken is replaced only after asking, the list shows
// name and author, and a server that went down is reported while the
// window keeps its criteria.
#include "core/Settings.h"
#include "core/StringTable.h"
#include "engine/PgConnection.h"
#include "engine/TableCursor.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/SelectionSteps.h"
#include "tests/support/WindowInput.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;
namespace step = kvtest::selection;
using kvtest::selection::rowText;

namespace
{

void clickDialogButton(QDialogButtonBox::StandardButton button)
{
    auto* box = qobject_cast<QDialogButtonBox*>(in::find(QStringLiteral("buttons")));
    ASSERT_NE(box, nullptr);
    in::click(box->button(button));
}

// The state of a control of the window in front, also when it is hidden.
QWidget* frontChild(const char* name)
{
    QWidget* front = in::front();
    return front ? front->findChild<QWidget*>(QLatin1String(name)) : nullptr;
}

bool serverButtonsShown(bool shown)
{
    QWidget* save = frontChild("sbUlozitServer");
    QWidget* load = frontChild("sbNacistServer");
    return in::frontIs("FVyber") && save && load && save->isVisible() == shown &&
           load->isVisible() == shown;
}

bool selectionClosed()
{
    QWidget* vyber = in::find(QStringLiteral("FVyber"));
    return !vyber || !vyber->isVisible();
}

QTreeWidget* savedList()
{
    return qobject_cast<QTreeWidget*>(in::find(QStringLiteral("lvVybery")));
}

// The server of the program's settings for one test.
struct ServerSetting {
    explicit ServerSetting(const QString& conninfo) { kv::settings().database = conninfo; }
    ~ServerSetting() { kv::settings().database.clear(); }
};

qint64 savedCount(const QString& conninfo)
{
    kv::engine::PgConnection c(conninfo);
    if (c.query("SELECT to_regclass('kvelta.selections') IS NULL").text(0, 0) == "t")
        return 0;
    return c.query("SELECT count(*) FROM kvelta.selections").int64(0, 0);
}

} // namespace

TEST(JourneyServerSelection, SavedToTheServerAndLoadedBackIntoTheWindow)
{
    PgTestDatabase db;
    JourneyApp app(200);
    ServerSetting server(db.conninfo());
    const QString name = QStringLiteral("Týden 'A' – \"Brno\"");
    QString town, question, failure;
    QTemporaryDir nowhere; // a socket folder without a server
    app.dm().firms()->first();
    const QString prefix = app.dm().firms()->text("misto").left(3);
    Journey j;
    j.then("the selection button", [] { in::click("sbVyber"); })
        .waitFor("the selection window with the server's buttons",
                 [] { return serverButtonsShown(true); })
        .then("a town from the dictionary", [&] { step::pickFirstLine("lMisto", prefix); })
        .waitFor("the town in its row", [] { return !rowText("edMisto").isEmpty(); })
        .then("save to the server",
              [&] {
                  town = rowText("edMisto");
                  in::click("sbUlozitServer");
              })
        .waitFor("the list of saved selections, empty",
                 [] {
                     return in::frontIs("ServerSelectionDialog") &&
                            savedList()->topLevelItemCount() == 0;
                 })
        .then("a name and Save",
              [&] {
                  in::type(in::find("edNazev"), name);
                  clickDialogButton(QDialogButtonBox::Save);
              })
        .waitFor("back in the selection window, saved",
                 [&] { return in::frontIs("FVyber") && savedCount(db.conninfo()) == 1; })
        .then("save again", [] { in::click("sbUlozitServer"); })
        .waitFor("the list with the saved one",
                 [&] {
                     auto* list = savedList();
                     return in::frontIs("ServerSelectionDialog") &&
                            list->topLevelItemCount() == 1 &&
                            list->topLevelItem(0)->text(0) == name &&
                            !list->topLevelItem(0)->text(1).isEmpty();
                 })
        .then("pick it and Save",
              [] {
                  auto* list = savedList();
                  in::click(list->viewport(), list->visualItemRect(list->topLevelItem(0)).center());
                  clickDialogButton(QDialogButtonBox::Save);
              })
        .waitFor("the question whether to replace it", [] { return boxInFront() != nullptr; })
        .then("No", [&] { answerBox(QMessageBox::No, &question); })
        .waitFor("the list again", [] { return in::frontIs("ServerSelectionDialog"); })
        .then("Cancel", [] { clickDialogButton(QDialogButtonBox::Cancel); })
        .waitFor("the selection window", [] { return in::frontIs("FVyber"); })
        .then("clear the criteria", [] { in::click("btnSmazat"); })
        .waitFor("the question", [] { return boxInFront() != nullptr; })
        .then("Yes", [] { answerBox(QMessageBox::Yes); })
        .waitFor("an empty town row",
                 [] { return in::frontIs("FVyber") && rowText("edMisto").isEmpty(); })
        .then("load from the server", [] { in::click("sbNacistServer"); })
        .waitFor("the list",
                 [] {
                     return in::frontIs("ServerSelectionDialog") &&
                            savedList()->topLevelItemCount() == 1;
                 })
        .then("pick it and Open",
              [] {
                  auto* list = savedList();
                  in::click(list->viewport(), list->visualItemRect(list->topLevelItem(0)).center());
                  clickDialogButton(QDialogButtonBox::Open);
              })
        .waitFor("the town back in its row",
                 [&] { return in::frontIs("FVyber") && rowText("edMisto") == town; })
        .then("the server goes away; load again",
              [&] {
                  kv::settings().database = QStringLiteral("host=%1 dbname=x").arg(nowhere.path());
                  in::click("sbNacistServer");
              })
        .waitFor("the message", [] { return boxInFront() != nullptr; })
        .then("read it", [&] { answerBox(QMessageBox::Ok, &failure); })
        .waitFor("the selection window with its criteria",
                 [&] { return in::frontIs("FVyber") && rowText("edMisto") == town; })
        .then("close it", [] { in::click("btnZrusit"); })
        .waitFor("the main window", [] { return selectionClosed(); })
        .then("the server is back; Výběr, Načíst ze serveru",
              [&] {
                  kv::settings().database = db.conninfo();
                  in::chooseMenu(&app.window(), {"MIVyber", "MINacistServer"});
              })
        .waitFor("the list", [] { return in::frontIs("ServerSelectionDialog"); })
        .then("pick it and Open",
              [] {
                  auto* list = savedList();
                  in::click(list->viewport(), list->visualItemRect(list->topLevelItem(0)).center());
                  clickDialogButton(QDialogButtonBox::Open);
              })
        .waitFor("the firms of the town as the company set", [&] {
            const int n = app.dm().firms()->recordCount();
            return in::frontIs("FMain") && n > 0 && n < 200;
        });
    EXPECT_TRUE(j.run());
    EXPECT_TRUE(app.status(0).endsWith(QString::number(app.dm().firms()->recordCount())))
        << app.status(0).toStdString();
    EXPECT_TRUE(question.contains(name)) << question.toStdString();
    EXPECT_TRUE(failure.contains("cannot reach the PostgreSQL server")) << failure.toStdString();
    EXPECT_TRUE(failure.startsWith(kv::loadStr(279).section(u'\r', 0, 0))) << failure.toStdString();
    EXPECT_EQ(savedCount(db.conninfo()), 1);
}

TEST(JourneyServerSelection, WithoutAServerTheCommandsAreHidden)
{
    kv::settings().database.clear();
    JourneyApp app(200);
    EXPECT_FALSE(app.window().menus()->item("MINacistServer")->isVisible());
    EXPECT_FALSE(app.window().menus()->item("MIUlozitServer")->isVisible());
    EXPECT_TRUE(app.window().menus()->item("MINacist")->isVisible());
    Journey j;
    j.then("the selection button", [] { in::click("sbVyber"); })
        .waitFor("the selection window without the server's buttons",
                 [] { return serverButtonsShown(false); })
        .then("close it", [] { in::click("btnZrusit"); })
        .waitFor("the main window", [] { return selectionClosed(); });
    EXPECT_TRUE(j.run());
}
