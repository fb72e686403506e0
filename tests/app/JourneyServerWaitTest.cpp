// A server that keeps the program waiting: while another session holds a
// lock on the saved selections (or the notes), loading them from the
// selection window (saving a note) shows the waiting window; its Cancel,
// clicked through the window system, brings the user back to the window
// with its criteria (the typed text) and a clear message, and once the lock
// is gone the same commands work again.
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/ServerNoteStore.h"
#include "engine/PgConnection.h"
#include "engine/PgNoteStore.h"
#include "engine/PgSelectionStore.h"
#include "engine/PgTransaction.h"
#include "engine/TableCursor.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/SelectionSteps.h"
#include "tests/support/WindowInput.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;
namespace step = kvtest::selection;
using kvtest::selection::rowText;

namespace
{

QPushButton* cancelOf(QWidget* window)
{
    auto* box = window ? window->findChild<QDialogButtonBox*>(QStringLiteral("buttons")) : nullptr;
    return box ? box->button(QDialogButtonBox::Cancel) : nullptr;
}

bool savedListShown()
{
    auto* list = qobject_cast<QTreeWidget*>(in::find(QStringLiteral("lvVybery")));
    return in::frontIs("ServerSelectionDialog") && list && list->topLevelItemCount() == 1;
}

// Another session's lock on a table, until released.
class TableLock
{
public:
    TableLock(const QString& conninfo, const QString& table)
        : m_connection(conninfo), m_table(table)
    {
    }
    void take()
    {
        m_transaction = std::make_unique<kv::engine::PgTransaction>(m_connection);
        m_connection.exec(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(m_table));
    }
    void release() { m_transaction.reset(); }

private:
    kv::engine::PgConnection m_connection;
    QString m_table;
    std::unique_ptr<kv::engine::PgTransaction> m_transaction;
};

QString memoText()
{
    auto* memo = qobject_cast<QPlainTextEdit*>(in::find(QStringLiteral("mmPozn")));
    return memo && memo->window()->objectName() == QLatin1String("FPozn") ? memo->toPlainText()
                                                                          : QString();
}

QString frontBoxText()
{
    auto* box = qobject_cast<QMessageBox*>(in::front());
    return box ? box->text() : QString();
}

struct ServerSetting {
    explicit ServerSetting(const QString& conninfo) { kv::settings().database = conninfo; }
    ~ServerSetting() { kv::settings().database.clear(); }
};

} // namespace

TEST(JourneyServerWait, ALockedTableShowsTheWaitAndCancelBringsTheUserBack)
{
    PgTestDatabase db;
    {
        kv::engine::PgConnection c(db.conninfo());
        kv::engine::PgSelectionStore(c).save(QStringLiteral("Týden"), QStringLiteral("-"), false);
    }
    JourneyApp app(200);
    ServerSetting server(db.conninfo());
    TableLock lock(db.conninfo(), QStringLiteral("kvelta.selections"));
    app.dm().firms()->first();
    const QString prefix = app.dm().firms()->text("misto").left(3);
    QString town, waitText, message;
    bool waitModal = false;
    Journey j;
    j.then("the selection button", [] { in::click("sbVyber"); })
        .waitFor("the selection window", [] { return in::frontIs("FVyber"); })
        .then("a town from the dictionary", [&] { step::pickFirstLine("lMisto", prefix); })
        .waitFor("the town in its row", [] { return !rowText("edMisto").isEmpty(); })
        .then("another session locks the table; load from the server",
              [&] {
                  town = rowText("edMisto");
                  lock.take();
                  in::click("sbNacistServer");
              })
        .waitFor("the waiting window", [] { return in::frontIs("FServerWait"); })
        .then("Cancel",
              [&] {
                  QWidget* wait = in::front();
                  waitModal = QApplication::activeModalWidget() == wait;
                  if (auto* text = wait->findChild<QLabel*>(QStringLiteral("lbCekani")))
                      waitText = text->text();
                  in::click(cancelOf(wait));
              })
        .waitFor("a message", [] { return boxInFront() != nullptr; })
        .then("read it", [&] { answerBox(QMessageBox::Ok, &message); })
        .waitFor("the selection window with its criteria",
                 [&] { return in::frontIs("FVyber") && rowText("edMisto") == town; })
        .then("the lock ends; load again",
              [&] {
                  lock.release();
                  in::click("sbNacistServer");
              })
        .waitFor("the saved selections", [] { return savedListShown(); })
        .then("Cancel the list", [] { in::click(cancelOf(in::front())); })
        .waitFor("the selection window", [] { return in::frontIs("FVyber"); })
        .then("close it", [] { in::click("btnZrusit"); })
        .waitFor("the main window", [] { return in::frontIs("FMain"); })
        .then("the main window's menu: Výběr, Načíst ze serveru",
              [&] {
                  in::chooseMenu(&app.window(), {"MIVyber", "MINacistServer"});
              })
        .waitFor("the saved selections", [] { return savedListShown(); })
        .then("Cancel the list", [] { in::click(cancelOf(in::front())); })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
    EXPECT_TRUE(j.run());
    EXPECT_TRUE(waitModal);
    EXPECT_EQ(waitText, kv::loadStr(326));
    EXPECT_EQ(message, kv::loadStr(327));
    EXPECT_EQ(in::find(QStringLiteral("FServerWait")), nullptr);
}

TEST(JourneyServerWait, ANoteSaveHeldByALockIsCancelledAndTheTextStays)
{
    PgTestDatabase db;
    JourneyApp app(61);
    ServerSetting server(db.conninfo());
    app.dm().setNotes(std::make_unique<kv::ServerNoteStore>(db.conninfo(), "anna"));
    TableLock lock(db.conninfo(), QStringLiteral("kvelta.notes"));
    kv::engine::PgConnection admin(db.conninfo());
    app.dm().firms()->first();
    const qint64 peno = app.dm().firms()->int64("peno");
    const QString text = QStringLiteral("Volat až po poradě");
    QString message;
    Journey j;
    j.then("the note button", [&] { in::click(in::findIn(&app.window(), "sbPozn")); })
        .waitFor("the note window", [] { return in::frontIs("FPozn"); })
        .then("type; another session locks the notes; OK",
              [&] {
                  in::type(in::find("mmPozn"), text);
                  lock.take();
                  in::click("btnOk");
              })
        .waitFor("the waiting window", [] { return in::frontIs("FServerWait"); })
        .then("Cancel", [] { in::click(cancelOf(in::front())); })
        .waitFor("a message", [] { return !frontBoxText().isEmpty(); })
        .then("read it",
              [&] {
                  message = frontBoxText();
                  in::key(Qt::Key_Return);
              })
        .waitFor("the text still in the note window",
                 [&] { return in::frontIs("FPozn") && memoText() == text; })
        .then("the lock ends; OK again",
              [&] {
                  lock.release();
                  in::click("btnOk");
              })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
    EXPECT_TRUE(j.run());
    EXPECT_TRUE(message.startsWith(kv::loadStr(257))) << message.toStdString();
    EXPECT_TRUE(message.contains(kv::loadStr(327))) << message.toStdString();
    kv::engine::PgNoteStore notes(admin);
    EXPECT_EQ(notes.noteOf(peno, "anna").text, text);
}
