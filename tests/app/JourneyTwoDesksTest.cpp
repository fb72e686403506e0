// Two desktop programs, two processes, on one company server: this test's
// own program (A) and a second one (B, tests/support/SecondDesk), each
// driven through its own window system. A note written in one shows in the
// other once it moves to that firm; the same note saved in both asks the
// later saver, and each answer keeps what it says. B ends cleanly, and a B
// that crashes or hangs fails the journey at once, naming what happened.
#include "core/StringTable.h"
#include "domain/NoteStore.h"
#include "domain/ServerNoteStore.h"
#include "engine/TableCursor.h"
#include "tests/cli/PgLoadProbe.h"
#include "tests/support/DemoHome.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/MessageBoxes.h"
#include "tests/support/SecondDesk.h"
#include "tests/support/WindowInput.h"
#include "ui/ProfileWindow.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPlainTextEdit>
#include <QTableView>

#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

QTableView* listOf(JourneyApp& app)
{
    return qobject_cast<QTableView*>(in::findIn(&app.window(), QStringLiteral("Grid")));
}

QString rowText(JourneyApp& app, int row)
{
    QTableView* grid = listOf(app);
    return grid ? grid->model()->index(row, 0).data().toString() : QString();
}

void clickRow(JourneyApp& app, int row)
{
    QTableView* grid = listOf(app);
    ASSERT_NE(grid, nullptr);
    in::click(grid->viewport(), grid->visualRect(grid->model()->index(row, 0)).center());
}

QString profileNotes(JourneyApp& app)
{
    auto p = app.window().findChild<kv::ProfileWindow*>(QStringLiteral("FProfil"));
    if (!p || !p->panel(kv::PanPozn)->isVisible())
        return QString();
    return p->noteMemo()->toPlainText();
}

QString memoText()
{
    auto memo = qobject_cast<QPlainTextEdit*>(in::find(QStringLiteral("mmPozn")));
    return memo && memo->window()->objectName() == QLatin1String("FPozn") ? memo->toPlainText()
                                                                          : QString();
}

// Waits, serving this program's events, until ready holds (60 s at most).
bool waitUntil(const std::function<bool()>& ready)
{
    const QDeadlineTimer deadline(60000);
    while (!ready()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace

// The company data loaded into a database of the test server; program A
// (this process) on it, writing notes as anna; B started by each test and
// ended (killed if need be) when the test ends, whatever happened.
class TwoDesks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        home = demoHomeOnServer(server, 60);
        ASSERT_FALSE(home.isEmpty());
        a = std::make_unique<JourneyApp>(home, server.conninfo());
        ASSERT_TRUE(a->dm().db().isServer());
        a->dm().setNotes(std::make_unique<kv::ServerNoteStore>(server.conninfo(), "anna"));
    }

    void TearDown() override
    {
        b.reset();
        a.reset();
    }

    SecondDesk& startB(const QString& author)
    {
        b = std::make_unique<SecondDesk>(home, server.conninfo(), author);
        return *b;
    }

    // The notes of a firm as the server keeps them, read as a program does.
    std::vector<kv::Note> stored(qint64 peno)
    {
        return kv::ServerNoteStore(server.conninfo(), "anna").all(peno);
    }

    PgTestDatabase server;
    QString home;
    std::unique_ptr<JourneyApp> a;
    std::unique_ptr<SecondDesk> b;
};

TEST_F(TwoDesks, ANoteWrittenInOneShowsInTheOtherAfterMovingToTheFirm)
{
    SecondDesk& two = startB("petr");
    ASSERT_EQ(two.fault(), "");
    const QString firm = rowText(*a, 2);
    ASSERT_FALSE(firm.isEmpty());
    qint64 peno = 0;
    QString bBefore, aNotes, bNotes, aBoth;
    Journey j;
    j.failWhen([&] { return two.fault(); })
        .then("A moves to the third firm of its list", [&] { clickRow(*a, 2); })
        .waitFor("A on that firm", [&] { return a->dm().firms()->position() == 3; })
        .then("A's note button",
              [&] {
                  peno = a->dm().firms()->int64("peno");
                  in::click(in::findIn(&a->window(), "sbPozn"));
              })
        .waitFor("A's note window", [] { return JourneyApp::focusWindowName() == "FPozn"; })
        .then("A writes and saves",
              [] {
                  in::type(in::find("mmPozn"), "Volat v pondělí\nNejlépe po 14. hodině");
                  in::click("btnOk");
              })
        .waitFor("A's profile lists the note with its author",
                 [&] {
                     aNotes = profileNotes(*a);
                     return in::frontIs("FMain") && aNotes.startsWith("anna, ") &&
                            aNotes.contains("Nejlépe po 14. hodině");
                 })
        .then("B moves to that firm in its list",
              [&] {
                  bBefore = two.ask({"firm"});
                  two.act({"row", firm});
              })
        .waitFor("B's profile shows A's note",
                 [&] {
                     bNotes = two.peek({"notes"}).value_or(QString());
                     return two.peek({"firm"}) == firm && bNotes.contains("Nejlépe");
                 })
        .then("B's note button: B's own note",
              [&] {
                  two.act({"click", "sbPozn"});
              })
        .waitFor("B's note window, empty",
                 [&] {
                     return two.peek({"focus"}) == "FPozn" && two.peek({"text", "mmPozn"}) == "";
                 })
        .then("B writes and saves",
              [&] {
                  two.act({"type", "mmPozn", "Petrova poznámka"});
                  two.act({"click", "btnOk"});
              })
        .waitFor("B's main window", [&] { return two.peek({"front"}) == "FMain"; })
        .then("A moves away", [&] { clickRow(*a, 0); })
        .waitFor("A on the first firm", [&] { return a->dm().firms()->position() == 1; })
        .then("and back", [&] { clickRow(*a, 2); })
        .waitFor("A's profile lists both notes", [&] {
            aBoth = profileNotes(*a);
            return aBoth.contains("petr, ") && aBoth.contains("Petrova poznámka") &&
                   aBoth.contains("Nejlépe po 14. hodině");
        });
    ASSERT_TRUE(j.run()) << "A's profile: " << aBoth.toStdString();

    EXPECT_NE(bBefore, firm); // B moved there
    // B shows what A shows: author, time and text, as the server has them.
    EXPECT_EQ(bNotes, aNotes);
    const std::vector<kv::Note> notes = stored(peno);
    ASSERT_EQ(notes.size(), 2u);
    const auto anna = std::find_if(notes.begin(), notes.end(),
                                   [](const kv::Note& n) { return n.author == "anna"; });
    ASSERT_NE(anna, notes.end());
    EXPECT_EQ(anna->text, "Volat v pondělí\nNejlépe po 14. hodině");
    EXPECT_TRUE(bNotes.startsWith("anna, " + kv::NoteStore::timeText(anna->changed) + "\n"))
        << bNotes.toStdString();
    EXPECT_EQ(two.ask({"front"}), "FMain");
}

TEST_F(TwoDesks, OneNoteSavedAtTwoDesksAsksTheLaterSaverAndEachAnswerKeepsWhatItSays)
{
    // The same user at two desks: one note, edited in both.
    SecondDesk& two = startB("anna");
    ASSERT_EQ(two.fault(), "");
    const QString firm = rowText(*a, 0);
    qint64 peno = 0;

    struct Round {
        const char* button;
        QString expected;
    };
    const Round rounds[] = {
        {"btnJejich", "B1"},  // keep theirs: B's text stays
        {"btnPrepsat", "A2"}, // overwrite: A's text replaces it
        {"btnObe", "B3\nA3"}, // keep both: A's text below B's
    };
    QStringList questions;
    QString lastBox;
    std::vector<QString> afterRound;
    Journey j;
    j.failWhen([&] { return two.fault(); })
        .then("A on the first firm of its list", [&] { clickRow(*a, 0); })
        .waitFor("A there", [&] { return a->dm().firms()->position() == 1; })
        .then("B moves to that firm",
              [&] {
                  peno = a->dm().firms()->int64("peno");
                  two.act({"row", firm});
              })
        .waitFor("B on it", [&] { return two.peek({"firm"}) == firm; });
    QString before;
    for (int i = 0; i < 3; ++i) {
        const Round& r = rounds[i];
        const QString mine = QStringLiteral("A%1").arg(i + 1);
        const QString theirs = QStringLiteral("B%1").arg(i + 1);
        j.then("A opens the note", [&] { in::click(in::findIn(&a->window(), "sbPozn")); })
            .waitFor("A's note window with the stored text",
                     [before] {
                         return JourneyApp::focusWindowName() == "FPozn" && memoText() == before;
                     })
            .then("B opens the same note",
                  [&] {
                      two.act({"click", "sbPozn"});
                  })
            .waitFor(
                "B's note window with the stored text",
                [&, before] {
                    return two.peek({"focus"}) == "FPozn" && two.peek({"text", "mmPozn"}) == before;
                })
            .then("B writes and saves first",
                  [&, theirs] {
                      two.act({"type", "mmPozn", theirs});
                      two.act({"click", "btnOk"});
                  })
            .waitFor("B saved", [&] { return two.peek({"front"}) == "FMain"; })
            .then("A writes and saves",
                  [mine] {
                      in::type(in::find("mmPozn"), mine);
                      in::click("btnOk");
                  })
            .waitFor("A asks, showing B's text",
                     [&, theirs] {
                         QMessageBox* box = boxInFront();
                         lastBox = box ? box->text() : QString();
                         return in::frontIs("FKonflikt") && box && box->text().contains(theirs);
                     })
            .then("answer",
                  [&, r] {
                      questions << boxInFront()->text();
                      in::click(r.button);
                  })
            .waitFor("A's main window", [] { return in::frontIs("FMain"); })
            .then("read the server", [&] {
                const std::vector<kv::Note> notes = stored(peno);
                afterRound.push_back(notes.size() == 1
                                         ? notes[0].text
                                         : QStringLiteral("%1 notes").arg(notes.size()));
            });
        before = r.expected;
    }
    // B sees the outcome once it comes back to the firm.
    j.then("B moves away",
           [&] {
               two.act({"row", rowText(*a, 1)});
           })
        .waitFor("B elsewhere", [&] { return two.peek({"firm"}) == rowText(*a, 1); })
        .then("and back",
              [&] {
                  two.act({"row", firm});
              })
        .waitFor("B's profile shows the note both kept",
                 [&] { return two.peek({"notes"}).value_or(QString()).endsWith("\nB3\nA3"); });
    ASSERT_TRUE(j.run())
        << "the question: " << lastBox.toStdString() << "\nthe server after each round: "
        << QStringList(afterRound.begin(), afterRound.end()).join(" | ").toStdString();

    ASSERT_EQ(afterRound.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(afterRound[size_t(i)], rounds[i].expected) << "after " << rounds[i].button;
    ASSERT_EQ(questions.size(), 3);
    EXPECT_TRUE(questions[0].contains("anna")) << questions[0].toStdString();
}

TEST_F(TwoDesks, SecondProgramEndsCleanlyAndOneThatCrashesOrHangsFailsTheJourneyAtOnce)
{
    {
        SecondDesk& two = startB("petr");
        ASSERT_EQ(two.fault(), "");
        ASSERT_TRUE(two.act({"menu", "MIKonec"})) << two.fault().toStdString();
        ASSERT_TRUE(waitUntil([&] { return two.peek({"box"}).has_value(); }))
            << two.fault().toStdString();
        ASSERT_TRUE(two.act({"answer", "Yes"})) << two.fault().toStdString();
        EXPECT_TRUE(two.waitForCleanExit(60000)) << two.fault().toStdString();
    }

    // A journey that waits for B's note window while B is gone or stuck.
    const auto journeyWith = [](SecondDesk& two) {
        auto j = std::make_unique<Journey>();
        j->failWhen([&two] { return two.fault(); })
            .then("B's note button",
                  [&two] {
                      two.act({"click", "sbPozn"});
                  })
            .waitFor("B's note window", [&two] { return two.peek({"focus"}) == "FPozn"; });
        return j;
    };

    SecondDesk& crashing = startB("petr");
    ASSERT_EQ(crashing.fault(), "");
    ::kill(pid_t(crashing.pid()), SIGABRT);
    auto j = journeyWith(crashing);
    EXPECT_NONFATAL_FAILURE(j->run(), "the second program crashed (signal 6)");
    EXPECT_FALSE(crashing.running());

    SecondDesk& hanging = startB("petr");
    ASSERT_EQ(hanging.fault(), "");
    hanging.setAnswerLimit(2000);
    ::kill(pid_t(hanging.pid()), SIGSTOP);
    j = journeyWith(hanging);
    EXPECT_NONFATAL_FAILURE(j->run(), "did not answer 'click sbPozn' within 2 s");
    EXPECT_FALSE(hanging.running()); // killed, not left behind
}
