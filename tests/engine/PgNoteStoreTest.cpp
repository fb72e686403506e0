// The office's notes on the server: one note per firm and author, saves
// that only write over the revision they were opened at, and the role that
// lets an office user read every note and write.
#include "tests/support/ErrorKind.h"
#include "tests/support/PgTestServer.h"

#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgDirectoryLoader.h"
#include "engine/PgNoteStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::engine::PgConnection;
using kv::engine::PgNoteStore;

namespace
{

class PgNotes : public ::testing::Test
{
protected:
    void SetUp() override { PgNoteStore(admin).prepare(); }
    kvtest::PgTestDatabase db;
    PgConnection admin{db.conninfo()};
};

} // namespace

TEST_F(PgNotes, EachAuthorKeepsOneNotePerFirmAndEveryoneReadsAll)
{
    PgNoteStore store(admin);
    EXPECT_TRUE(store.ready());
    PgNoteStore(admin).prepare(); // a second preparation changes nothing
    EXPECT_TRUE(store.notesOf(42).empty());
    EXPECT_EQ(store.noteOf(42, "anna").revision, 0);

    const QString hostile = QStringLiteral("Volat 'ráno'; DROP TABLE kvelta.notes; --\n\\N $1");
    const auto anna = store.save(42, "anna", hostile, 0);
    ASSERT_TRUE(anna.saved);
    EXPECT_GT(anna.current.revision, 0);
    EXPECT_EQ(anna.current.text, hostile);
    EXPECT_LE(qAbs(anna.current.changed.secsTo(QDateTime::currentDateTimeUtc())), 60);
    const auto petr = store.save(42, "petr", "Má nový sklad", 0);
    ASSERT_TRUE(petr.saved);
    EXPECT_NE(petr.current.revision, anna.current.revision);
    ASSERT_TRUE(store.save(43, "anna", "jiná firma", 0).saved);

    const auto notes = store.notesOf(42);
    ASSERT_EQ(notes.size(), 2u);
    QStringList seen;
    for (const auto& n : notes)
        seen << n.author + ":" + n.text;
    seen.sort();
    EXPECT_EQ(seen, QStringList({"anna:" + hostile, "petr:Má nový sklad"}));
    EXPECT_GE(notes[0].changed, notes[1].changed); // newest first

    // Own note updated at its revision; blank text deletes it.
    const auto again = store.save(42, "anna", "opraveno", anna.current.revision);
    ASSERT_TRUE(again.saved);
    EXPECT_GT(again.current.revision, petr.current.revision);
    EXPECT_EQ(store.noteOf(42, "anna").text, "opraveno");
    EXPECT_TRUE(store.save(42, "anna", " \n\t", again.current.revision).saved);
    EXPECT_EQ(store.noteOf(42, "anna").revision, 0);
    EXPECT_EQ(store.notesOf(42).size(), 1u);
    EXPECT_KV_ERROR(store.save(42, "", "bez autora", 0), Engine);
}

TEST_F(PgNotes, AStaleSaveWritesNothingAndReportsTheOtherWrite)
{
    PgConnection other(db.conninfo());
    PgNoteStore mine(admin);
    PgNoteStore theirs(other);
    const qint64 opened = mine.save(7, "anna", "první", 0).current.revision;

    // Both open at the same revision; the other session saves first.
    const auto first = theirs.save(7, "anna", "jejich", opened);
    ASSERT_TRUE(first.saved);
    const auto stale = mine.save(7, "anna", "moje", opened);
    EXPECT_FALSE(stale.saved);
    EXPECT_EQ(stale.current.text, "jejich");
    EXPECT_EQ(stale.current.author, "anna");
    EXPECT_EQ(stale.current.revision, first.current.revision);
    EXPECT_EQ(stale.current.changed, first.current.changed);
    EXPECT_EQ(mine.noteOf(7, "anna").text, "jejich");

    // Overwriting states the revision the conflict reported.
    EXPECT_TRUE(mine.save(7, "anna", "moje", stale.current.revision).saved);

    // A stale delete keeps the row; a note deleted and written again never
    // matches a revision from before.
    const qint64 now = mine.noteOf(7, "anna").revision;
    ASSERT_TRUE(theirs.save(7, "anna", "ještě jednou", now).saved);
    EXPECT_FALSE(mine.save(7, "anna", "", now).saved);
    EXPECT_EQ(mine.noteOf(7, "anna").text, "ještě jednou");
    ASSERT_TRUE(theirs.save(7, "anna", "", mine.noteOf(7, "anna").revision).saved);
    const auto gone = mine.save(7, "anna", "moje", now);
    EXPECT_FALSE(gone.saved);
    EXPECT_EQ(gone.current.revision, 0); // deleted meanwhile
    ASSERT_TRUE(theirs.save(7, "anna", "znovu", 0).saved);
    EXPECT_FALSE(mine.save(7, "anna", "moje", now).saved);

    // Two first notes at once: the second finds the first.
    ASSERT_TRUE(theirs.save(8, "anna", "nejdřív", 0).saved);
    const auto late = mine.save(8, "anna", "pozdě", 0);
    EXPECT_FALSE(late.saved);
    EXPECT_EQ(late.current.text, "nejdřív");
    // Deleting a note that was never there while someone wrote one.
    EXPECT_FALSE(mine.save(8, "anna", "", 0).saved);
    EXPECT_TRUE(mine.save(9, "anna", "", 0).saved);
    EXPECT_TRUE(mine.notesOf(9).empty());
}

TEST_F(PgNotes, MembersOfTheNotesRoleReadAllAndWriteButCannotChangeTheTable)
{
    const QString login = "kvnote_" + db.name();
    admin.exec(QStringLiteral("CREATE ROLE %1 LOGIN IN ROLE %2")
                   .arg(admin.identifier(login), PgNoteStore::writerRole));
    PgNoteStore(admin).save(5, "petr", "od Petra", 0);
    {
        PgConnection user(QStringLiteral("host=%1 dbname=%2 user=%3")
                              .arg(kvtest::pgSocketDir(), db.name(), login));
        PgNoteStore store(user);
        EXPECT_TRUE(store.ready());
        EXPECT_EQ(store.notesOf(5).size(), 1u);
        const auto saved = store.save(5, "jana", "od Jany", 0);
        EXPECT_TRUE(saved.saved);
        EXPECT_TRUE(store.save(5, "jana", "znovu", saved.current.revision).saved);
        EXPECT_EQ(user.tryQuery("DROP TABLE kvelta.notes").sqlState(), "42501");
        EXPECT_EQ(user.tryQuery("ALTER TABLE kvelta.notes ADD COLUMN x int").sqlState(), "42501");
    }
    EXPECT_EQ(PgNoteStore(admin).notesOf(5).size(), 2u);
    admin.exec(QStringLiteral("DROP ROLE %1").arg(admin.identifier(login)));
}

TEST(PgNotesAndLoads, TheLoadMakesTheNotesTableAndLaterLoadsKeepTheNotes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("source.db");
    {
        kv::engine::Database w(path, kv::engine::Database::Mode::Create);
        w.exec("CREATE TABLE firma (peno INTEGER PRIMARY KEY, nazev TEXT);"
               "INSERT INTO firma VALUES (42, 'Čáp a syn')");
    }
    kvtest::PgTestDatabase db;
    PgConnection c(db.conninfo());
    EXPECT_FALSE(PgNoteStore(c).ready());
    kv::engine::Database source(path);
    kv::engine::PgDirectoryLoader(source, c).run(path);
    PgNoteStore store(c);
    ASSERT_TRUE(store.ready());
    ASSERT_TRUE(store.save(42, "anna", "Volat ráno", 0).saved);
    kv::engine::PgDirectoryLoader(source, c).run(path);
    ASSERT_EQ(store.notesOf(42).size(), 1u);
    EXPECT_EQ(store.notesOf(42)[0].text, "Volat ráno");
}
