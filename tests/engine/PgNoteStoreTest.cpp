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

namespace
{

// Login roles of this test in kvelta_notes, and connections as them; the
// roles belong to the whole server, so each test names them after its
// database and drops them at the end.
class Logins
{
public:
    Logins(PgConnection& admin, const kvtest::PgTestDatabase& db, QStringList names)
        : m_admin(admin), m_db(db), m_names(std::move(names))
    {
        for (const QString& name : m_names)
            m_admin.exec(QStringLiteral("CREATE ROLE %1 LOGIN IN ROLE %2")
                             .arg(m_admin.identifier(name), PgNoteStore::writerRole));
    }
    ~Logins()
    {
        for (const QString& name : m_names)
            m_admin.tryQuery(QStringLiteral("DROP ROLE %1").arg(m_admin.identifier(name)));
    }
    std::unique_ptr<PgConnection> connect(const QString& name) const
    {
        return std::make_unique<PgConnection>(QStringLiteral("host=%1 dbname=%2 user=%3")
                                                  .arg(kvtest::pgSocketDir(), m_db.name(), name));
    }

private:
    PgConnection& m_admin;
    const kvtest::PgTestDatabase& m_db;
    QStringList m_names;
};

} // namespace

TEST_F(PgNotes, EveryMemberReadsEveryNoteButChangesAndDeletesOnlyItsOwn)
{
    const QString first = "kvnote_a_" + db.name();
    const QString second = "kvnote_b_" + db.name();
    Logins logins(admin, db, {first, second});
    {
        const auto a = logins.connect(first);
        const auto b = logins.connect(second);
        PgNoteStore one(*a);
        PgNoteStore two(*b);
        const auto anna = one.save(5, "anna", "od Anny", 0);
        ASSERT_TRUE(anna.saved);
        EXPECT_EQ(anna.current.owner, first);
        EXPECT_TRUE(anna.current.mine);
        ASSERT_TRUE(two.save(5, "petr", "od Petra", 0).saved);
        ASSERT_TRUE(two.save(6, "petr", "jen Petr", 0).saved);

        // Both read both notes, and know whose they are.
        for (PgNoteStore* store : {&one, &two}) {
            const auto notes = store->notesOf(5);
            ASSERT_EQ(notes.size(), 2u);
            for (const auto& n : notes)
                EXPECT_EQ(n.owner, n.author == "anna" ? first : second);
            EXPECT_EQ(store->firmsWithNotes(), (std::vector<qint64>{5, 6}));
        }
        EXPECT_FALSE(two.noteOf(5, "anna").mine);

        // Writing under the first's author name: refused, nothing written.
        for (const QString& text : {QStringLiteral("přepsáno"), QString()}) {
            const auto r = two.save(5, "anna", text, anna.current.revision);
            EXPECT_FALSE(r.saved);
            EXPECT_TRUE(r.refused);
            EXPECT_EQ(r.current.owner, first);
            EXPECT_EQ(r.current.text, "od Anny");
        }
        EXPECT_TRUE(two.save(5, "anna", "nová", 0).refused);
        EXPECT_TRUE(two.save(5, "anna", "", 0).refused);
        // A stale save of the own note is a conflict, not a refusal.
        const auto stale = one.save(5, "anna", "znovu", anna.current.revision - 1);
        EXPECT_FALSE(stale.saved);
        EXPECT_FALSE(stale.refused);

        // Nor with SQL of its own: the server's policies hold.
        EXPECT_EQ(b->query("UPDATE kvelta.notes SET body = 'x' WHERE author = 'anna'").affected(),
                  0);
        EXPECT_EQ(b->query("DELETE FROM kvelta.notes WHERE author = 'anna'").affected(), 0);
        EXPECT_EQ(b->tryQuery("INSERT INTO kvelta.notes (peno, author, body, owner) "
                              "VALUES (7, 'anna', 'podvrh', $1)",
                              {first})
                      .sqlState(),
                  "42501");
        EXPECT_EQ(b->tryQuery("UPDATE kvelta.notes SET owner = $1 WHERE author = 'petr'", {first})
                      .sqlState(),
                  "42501");
        EXPECT_EQ(one.noteOf(5, "anna").text, "od Anny");
        EXPECT_EQ(one.noteOf(5, "anna").revision, anna.current.revision);
        EXPECT_EQ(one.notesOf(5).size(), 2u);

        // Its own notes it changes and deletes as before.
        const qint64 petr = two.noteOf(5, "petr").revision;
        EXPECT_TRUE(two.save(5, "petr", "opraveno", petr).saved);
        EXPECT_TRUE(two.save(6, "petr", "", two.noteOf(6, "petr").revision).saved);
        EXPECT_EQ(one.firmsWithNotes(), (std::vector<qint64>{5}));
    }
}

TEST(PgNotesUpgrade, ATableOfTheVersionBeforeOwnersGetsOwnersAndPolicies)
{
    kvtest::PgTestDatabase db;
    PgConnection admin(db.conninfo());
    const QString login = "kvnote_u_" + db.name();
    if (const auto refused = admin.ensureRole(PgNoteStore::writerRole))
        admin.check(*refused, "did not create the role");
    Logins logins(admin, db, {login});
    // The table as the previous version made it, with notes in it.
    admin.exec(QStringLiteral(
                   "CREATE SCHEMA kvelta; CREATE SEQUENCE kvelta.note_revision;"
                   "CREATE TABLE kvelta.notes (peno bigint NOT NULL, author text NOT NULL CHECK "
                   "(author <> ''), body text NOT NULL, changed timestamptz NOT NULL DEFAULT "
                   "now(), revision bigint NOT NULL DEFAULT nextval('kvelta.note_revision'), "
                   "PRIMARY KEY (peno, author));"
                   "GRANT USAGE ON SCHEMA kvelta TO %1;"
                   "GRANT SELECT, INSERT, UPDATE, DELETE ON kvelta.notes TO %1;"
                   "GRANT USAGE, SELECT ON SEQUENCE kvelta.note_revision TO %1")
                   .arg(PgNoteStore::writerRole));
    admin.query("INSERT INTO kvelta.notes (peno, author, body) VALUES "
                "(1, $1, 'přihlášený'), (1, 'Jana Nováková', 'bez role')",
                {login});
    const qint64 before =
        admin.query("SELECT revision FROM kvelta.notes WHERE author = $1", {login}).int64(0, 0);
    EXPECT_FALSE(PgNoteStore(admin).ready());

    PgNoteStore(admin).prepare();
    PgNoteStore store(admin);
    ASSERT_TRUE(store.ready());
    store.prepare(); // again: nothing to do
    const QString self = admin.query("SELECT current_user::text").text(0, 0);
    EXPECT_EQ(store.noteOf(1, login).owner, login);
    EXPECT_EQ(store.noteOf(1, login).revision, before); // no writer sees a change
    EXPECT_EQ(store.noteOf(1, "Jana Nováková").owner, self);
    EXPECT_EQ(store.noteOf(1, "Jana Nováková").text, "bez role");

    {
        const auto user = logins.connect(login);
        PgNoteStore own(*user);
        EXPECT_EQ(own.notesOf(1).size(), 2u);
        EXPECT_TRUE(own.save(1, login, "změněno", before).saved);
        EXPECT_TRUE(
            own.save(1, "Jana Nováková", "cizí", own.noteOf(1, "Jana Nováková").revision).refused);
        EXPECT_TRUE(own.save(2, "nová", "nová", 0).saved);
        EXPECT_EQ(own.noteOf(2, "nová").owner, login); // the default owner
    }
    EXPECT_EQ(store.noteOf(1, "Jana Nováková").text, "bez role");
}
