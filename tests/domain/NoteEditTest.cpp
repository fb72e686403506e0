// Editing the own note against a store another session writes to: a save
// from a stale revision writes nothing and hands back the other text; each
// answer to that conflict does what it says; a note the server does not let
// this session change is refused with a message and nothing written; the
// file store stays the private notes it was, without authors and never
// contested. The conflict cases run against a stand-in for the server here
// and against the test server itself in test_notes_pg (KV_TEST_ON_SERVER).
#include "domain/NoteEdit.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "domain/FileNoteStore.h"
#include "domain/NoteFile.h"
#include "domain/ServerNoteStore.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/NoteBackend.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <pwd.h>
#include <unistd.h>

using kv::Note;
using kv::NoteEdit;

namespace
{

// One author's notes with revisions, as the server keeps them.
class RevisionStore : public kv::NoteStore
{
public:
    bool shared() const override { return true; }
    QString author() const override { return "anna"; }
    Note own(qint64 peno) override
    {
        auto it = notes.find(peno);
        return it == notes.end() ? Note{"anna", {}, {}, 0, {}, true} : it->second;
    }
    std::vector<Note> all(qint64 peno) override
    {
        return notes.count(peno) ? std::vector<Note>{notes[peno]} : std::vector<Note>{};
    }
    kv::NoteSave save(qint64 peno, const QString& text, qint64 openedAt) override
    {
        if (foreign)
            return {false, own(peno), true};
        if (own(peno).revision != openedAt)
            return {false, own(peno)};
        write(peno, text);
        return {true, own(peno)};
    }
    std::vector<qint64> firmsWithNotes() override
    {
        std::vector<qint64> penos;
        for (const auto& [peno, note] : notes)
            penos.push_back(peno);
        return penos;
    }
    // Another session's save.
    void write(qint64 peno, const QString& text)
    {
        if (text.trimmed().isEmpty())
            notes.erase(peno);
        else
            notes[peno] =
                Note{"anna", text, QDateTime::currentDateTimeUtc(), ++revision, owner, !foreign};
    }
    std::map<qint64, Note> notes;
    qint64 revision = 0;
    QString owner = "anna";
    bool foreign = false; // the notes belong to another login role
};

// The own note of "anna" and another session of the same author that
// writes to it meanwhile: the stand-in above, or two sessions on the server.
class Sessions
{
public:
#ifdef KV_TEST_ON_SERVER
    kv::NoteStore& store()
    {
        return m_backend.store();
    }
    void write(qint64 peno, const QString& text)
    {
        m_backend.write(peno, text);
    }

private:
    kvtest::NoteBackend m_backend;
#else
    kv::NoteStore& store()
    {
        return m_store;
    }
    void write(qint64 peno, const QString& text)
    {
        m_store.write(peno, text);
    }

private:
    RevisionStore m_store;
#endif
};

} // namespace

TEST(KV_NOTES_SUITE(NoteEdit), UncontestedSavesFollowTheirOwnRevisions)
{
    Sessions sessions;
    kv::NoteStore& store = sessions.store();
    NoteEdit edit(store, 5);
    EXPECT_EQ(edit.opened().revision, 0);
    EXPECT_FALSE(edit.save("první"));
    EXPECT_FALSE(edit.save("druhá")); // at the revision the first save made
    EXPECT_EQ(store.own(5).text, "druhá");
    EXPECT_EQ(edit.opened().revision, store.own(5).revision);
    EXPECT_FALSE(edit.save(""));
    EXPECT_TRUE(store.all(5).empty());
}

TEST(KV_NOTES_SUITE(NoteEdit), AConflictWritesNothingUntilAnsweredAndEachAnswerDoesWhatItSays)
{
    struct Case {
        NoteEdit::Answer answer;
        QString stored;
    };
    const Case cases[] = {
        {NoteEdit::Answer::KeepTheirs, "jejich"},
        {NoteEdit::Answer::Overwrite, "moje"},
        {NoteEdit::Answer::KeepBoth, "jejich\nmoje"},
    };
    for (const Case& c : cases) {
        Sessions sessions;
        kv::NoteStore& store = sessions.store();
        sessions.write(5, "původní");
        NoteEdit edit(store, 5);
        sessions.write(5, "jejich"); // another session saved meanwhile
        const auto conflict = edit.save("moje");
        ASSERT_TRUE(conflict);
        EXPECT_EQ(conflict->text, "jejich");
        EXPECT_EQ(store.own(5).text, "jejich");
        EXPECT_FALSE(edit.resolve(c.answer, "moje", *conflict));
        EXPECT_EQ(store.own(5).text, c.stored);
        // The editing goes on from what is stored now.
        EXPECT_EQ(edit.opened().revision, store.own(5).revision);
        EXPECT_FALSE(edit.save(c.stored + "!"));
    }
}

TEST(KV_NOTES_SUITE(NoteEdit), AnAnswerToAStaleConflictAsksAgainAndDeletionsCount)
{
    Sessions sessions;
    kv::NoteStore& store = sessions.store();
    sessions.write(5, "původní");
    NoteEdit edit(store, 5);
    sessions.write(5, "jejich");
    const auto conflict = edit.save("moje");
    ASSERT_TRUE(conflict);
    sessions.write(5, "ještě novější");
    const auto again = edit.resolve(NoteEdit::Answer::Overwrite, "moje", *conflict);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->text, "ještě novější");
    EXPECT_EQ(store.own(5).text, "ještě novější");

    // Their deletion is a conflict too; keeping both keeps mine alone.
    sessions.write(5, "");
    const auto deleted = edit.resolve(NoteEdit::Answer::KeepBoth, "moje", *again);
    ASSERT_TRUE(deleted);
    EXPECT_EQ(deleted->revision, 0);
    EXPECT_FALSE(edit.resolve(NoteEdit::Answer::KeepBoth, "moje", *deleted));
    EXPECT_EQ(store.own(5).text, "moje");

    // Opened while the note could not be read: an existing note is a conflict.
    NoteEdit blind(store, 5, Note{});
    const auto unseen = blind.save("naslepo");
    ASSERT_TRUE(unseen);
    EXPECT_EQ(unseen->text, "moje");
    EXPECT_EQ(store.own(5).text, "moje");

    // The same text saved by both is no conflict.
    NoteEdit stale(store, 5);
    sessions.write(5, "shodně");
    EXPECT_FALSE(stale.save("shodně"));
    EXPECT_EQ(stale.opened().revision, store.own(5).revision);

    EXPECT_EQ(NoteEdit::bothTexts("jejich\n\n", "moje"), "jejich\nmoje");
    EXPECT_EQ(NoteEdit::bothTexts(" ", "moje"), "moje");
    EXPECT_EQ(NoteEdit::bothTexts("jejich", "\n"), "jejich");
}

#ifndef KV_TEST_ON_SERVER
// Against the server with two login roles: PgNoteStoreTest.
TEST(NoteEdit, ANoteOfAnotherLoginRoleIsRefusedWithAMessageAndNothingIsWritten)
{
    RevisionStore store;
    store.owner = "kv_anna2";
    store.foreign = true;
    store.write(5, "cizí");
    NoteEdit edit(store, 5);
    EXPECT_FALSE(edit.opened().mine);
    try {
        edit.save("moje");
        ADD_FAILURE() << "the save was not refused";
    } catch (const kv::Error& e) {
        EXPECT_TRUE(e.is(kv::Error::Kind::Engine));
        EXPECT_TRUE(e.message().contains("kv_anna2")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("anna")) << e.message().toStdString();
    }
    EXPECT_TRUE(edit.refused());
    EXPECT_EQ(store.own(5).text, "cizí");
    EXPECT_EQ(edit.opened().text, "cizí"); // the editing goes on from the same note
    // A refusal met while answering a conflict ends it the same way.
    EXPECT_KV_ERROR(edit.resolve(NoteEdit::Answer::Overwrite, "moje", store.own(5)), Engine);
    EXPECT_EQ(store.own(5).text, "cizí");
    store.foreign = false;
    EXPECT_FALSE(edit.save("moje"));
    EXPECT_FALSE(edit.refused());
}

TEST(NoteEdit, TheFileStoreKeepsPrivateNotesWithoutAuthorsAndTheServerStoreTakesTheSettings)
{
    kvtest::TestHome home;
    kv::settings() = kv::Settings();
    kv::settings().dataHome = home.path();
    kv::DataModule dm;
    kv::NoteStore& notes = dm.notes();
    ASSERT_TRUE(dynamic_cast<kv::FileNoteStore*>(&notes));
    EXPECT_FALSE(notes.shared());
    EXPECT_TRUE(notes.all(9).empty());
    NoteEdit edit(notes, 9);
    EXPECT_FALSE(edit.save("a\nb"));
    EXPECT_EQ(kv::NoteFile::lines(9), QStringList({"a", "b"}));
    // A file written behind the window's back is simply overwritten, as before.
    kv::NoteFile::save(9, "jinde");
    EXPECT_FALSE(edit.save("c"));
    EXPECT_EQ(kv::NoteFile::text(9), "c");
    ASSERT_EQ(notes.all(9).size(), 1u);
    EXPECT_TRUE(notes.all(9)[0].author.isEmpty());
    EXPECT_FALSE(edit.save(" "));
    EXPECT_FALSE(kv::NoteFile::exists(9));

    // A server that cannot be reached: a clear error, every time it is asked.
    kv::settings().database = "host=" + home.path() + "/no-server dbname=kv connect_timeout=2";
    kv::DataModule office;
    kv::NoteStore& server = office.notes();
    ASSERT_TRUE(dynamic_cast<kv::ServerNoteStore*>(&server));
    EXPECT_TRUE(server.shared());
    EXPECT_FALSE(server.author().isEmpty());
    {
        // Without the usual variables (a service, cron) the account's name.
        std::map<const char*, std::optional<QByteArray>> saved;
        for (const char* var : {"USER", "LOGNAME", "USERNAME"}) {
            if (qEnvironmentVariableIsSet(var))
                saved[var] = qgetenv(var);
            else
                saved[var] = std::nullopt;
            qunsetenv(var);
        }
        const QString author = kv::ServerNoteStore::defaultAuthor();
        for (const auto& [var, value] : saved)
            if (value)
                qputenv(var, *value);
        const passwd* account = getpwuid(geteuid());
        ASSERT_TRUE(account);
        EXPECT_EQ(author, QString::fromLocal8Bit(account->pw_name));
    }
    EXPECT_KV_ERROR(server.own(9), Engine);
    EXPECT_KV_ERROR(server.save(9, "x", 0), Engine);
    kv::settings() = kv::Settings();
}
#endif
