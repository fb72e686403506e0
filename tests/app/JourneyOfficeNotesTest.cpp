// Two desktop programs of one office on one notes server, driven through
// the window system: a note written in one shows, with its author and time,
// in the other once it moves to that firm, beside a colleague's note; a
// save that finds the note changed by the other program asks, and each
// answer does what it says; a connection lost while writing keeps the text
// and the next OK connects again.
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/NoteEdit.h"
#include "domain/ServerNoteStore.h"
#include "engine/PgConnection.h"
#include "engine/PgNoteStore.h"
#include "engine/TableCursor.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/PgTestServer.h"
#include "tests/support/WindowInput.h"
#include "ui/ProfileWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableView>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

QString profileNotes(JourneyApp& app)
{
    auto p = app.window().findChild<kv::ProfileWindow*>(QStringLiteral("FProfil"));
    if (!p || !p->panel(kv::PanPozn)->isVisible())
        return QString();
    return p->noteMemo()->toPlainText();
}

void activate(JourneyApp& app)
{
    app.window().raise();
    app.window().activateWindow();
}

bool isActive(JourneyApp& app)
{
    return QApplication::activeWindow() == &app.window();
}

QString frontText()
{
    auto box = qobject_cast<QMessageBox*>(in::front());
    return box ? box->text() : QString();
}

QString memoText()
{
    auto memo = qobject_cast<QPlainTextEdit*>(in::find(QStringLiteral("mmPozn")));
    return memo && memo->window()->objectName() == QLatin1String("FPozn") ? memo->toPlainText()
                                                                          : QString();
}

} // namespace

TEST(JourneyOfficeNotes, TwoProgramsShareNotesAndEveryConflictAnswerDoesWhatItSays)
{
    JourneyApp a(61);
    JourneyApp b(61);
    kvtest::PgTestDatabase db;
    kv::settings().database = db.conninfo();
    // Two sessions of the same user (two computers), each with its connection.
    a.dm().setNotes(std::make_unique<kv::ServerNoteStore>(db.conninfo(), "anna"));
    b.dm().setNotes(std::make_unique<kv::ServerNoteStore>(db.conninfo(), "anna"));
    kv::ServerNoteStore petr(db.conninfo(), "petr");
    kv::engine::PgConnection admin(db.conninfo());
    kv::engine::PgNoteStore server(admin);
    auto stored = [&](qint64 peno) { return server.noteOf(peno, "anna").text; };

    a.dm().firms()->first();
    const qint64 peno = a.dm().firms()->int64("peno");
    b.dm().firms()->first();
    b.dm().firms()->next(); // B shows another firm
    ASSERT_NE(b.dm().firms()->int64("peno"), peno);

    Journey j;
    j.then("program A in front", [&] { activate(a); })
        .waitFor("A active", [&] { return isActive(a); })
        .then("A's note button", [&] { in::click(in::findIn(&a.window(), "sbPozn")); })
        .waitFor("the note window", [] { return in::frontIs("FPozn"); })
        .then("write and OK",
              [] {
                  in::type(in::find("mmPozn"), "Volat v pondělí");
                  in::click("btnOk");
              })
        .waitFor("A's profile lists the note with its author",
                 [&] {
                     const QString t = profileNotes(a);
                     return t.startsWith("anna, ") && t.contains("Volat v pondělí");
                 })
        .then("a colleague writes too; program B in front",
              [&] {
                  ASSERT_TRUE(petr.save(peno, "Petrova poznámka", 0).saved);
                  activate(b);
              })
        .waitFor("B active", [&] { return isActive(b); })
        .then("B moves to the firm in its list",
              [&] {
                  auto grid = qobject_cast<QTableView*>(in::findIn(&b.window(), "Grid"));
                  ASSERT_NE(grid, nullptr);
                  in::click(grid->viewport(),
                            grid->visualRect(grid->model()->index(0, 0)).center());
              })
        .waitFor("B's profile lists both notes", [&] {
            const QString t = profileNotes(b);
            return b.dm().firms()->int64("peno") == peno && t.contains("anna, ") &&
                   t.contains("Volat v pondělí") && t.contains("petr, ") &&
                   t.contains("Petrova poznámka");
        });

    // Each answer to a conflict: B edits while A saves the same note.
    struct Round {
        const char* button;
        QString expected;
    };
    const Round rounds[] = {
        {"btnJejich", "A1"},
        {"btnPrepsat", "B2"},
        {"btnObe", "A3\nB3"},
    };
    QStringList questions;
    for (int i = 0; i < 3; ++i) {
        const Round& r = rounds[i];
        const QString mine = QStringLiteral("B%1").arg(i + 1);
        const QString theirs = QStringLiteral("A%1").arg(i + 1);
        j.then("B's note button", [&] { in::click(in::findIn(&b.window(), "sbPozn")); })
            .waitFor("B's note window shows who saved it",
                     [] {
                         auto saved = qobject_cast<QLabel*>(in::find("lbUlozeno"));
                         return in::frontIs("FPozn") && saved &&
                                saved->text().startsWith(kv::loadStr(250).section('%', 0, 0)) &&
                                saved->text().contains("anna");
                     })
            .then("B types; meanwhile A saves the same note",
                  [&, mine, theirs] {
                      in::type(in::find("mmPozn"), mine);
                      kv::NoteEdit other(a.dm().notes(), peno);
                      ASSERT_FALSE(other.save(theirs));
                      in::click("btnOk");
                  })
            .waitFor("the conflict question with A's text",
                     [theirs] { return in::frontIs("FKonflikt") && frontText().contains(theirs); })
            .then("answer",
                  [&, r] {
                      questions << frontText();
                      in::click(r.button);
                  })
            .waitFor("the main window", [&] { return in::frontIs("FMain"); })
            .then("stored as answered", [&, r] { EXPECT_EQ(stored(peno), r.expected); });
    }

    // Back to the editor; then the connection drops while writing.
    j.then("B's note button", [&] { in::click(in::findIn(&b.window(), "sbPozn")); })
        .waitFor("the note window", [] { return in::frontIs("FPozn"); })
        .then("B types, A saves, B presses OK",
              [&] {
                  in::type(in::find("mmPozn"), "Zpět k psaní");
                  kv::NoteEdit other(a.dm().notes(), peno);
                  ASSERT_FALSE(other.save("A4"));
                  in::click("btnOk");
              })
        .waitFor("the conflict question", [] { return in::frontIs("FKonflikt"); })
        .then("back to the editor", [] { in::click("btnZpet"); })
        .waitFor("the text still in the window",
                 [] { return in::frontIs("FPozn") && memoText() == "Zpět k psaní"; })
        .then("the server drops every connection; OK",
              [&] {
                  EXPECT_EQ(stored(peno), "A4");
                  admin.query("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                              "WHERE datname = $1 AND pid <> pg_backend_pid()",
                              {db.name()});
                  in::click("btnOk");
              })
        .waitFor("a clear message", [] { return frontText().startsWith(kv::loadStr(257)); })
        .then("close the message", [] { in::key(Qt::Key_Return); })
        .waitFor("the text still in the window",
                 [] { return in::frontIs("FPozn") && memoText() == "Zpět k psaní"; })
        .then("OK again: connects afresh and asks, as A4 is still newer",
              [] { in::click("btnOk"); })
        .waitFor("the conflict question", [] { return in::frontIs("FKonflikt"); })
        .then("overwrite", [] { in::click("btnPrepsat"); })
        .waitFor("the main window", [&] { return in::frontIs("FMain"); });
    const bool ran = j.run();
    ASSERT_TRUE(ran) << "B's profile: " << profileNotes(b).toStdString();
    EXPECT_EQ(stored(peno), "Zpět k psaní");
    ASSERT_EQ(questions.size(), 3);
    EXPECT_TRUE(questions[0].contains("anna")) << questions[0].toStdString();
    EXPECT_TRUE(profileNotes(b).contains("Zpět k psaní"));
    EXPECT_TRUE(profileNotes(b).contains("Petrova poznámka"));
    kv::settings().database.clear();
}
