#pragma once

#include "core/Settings.h"
#include "domain/FileNoteStore.h"
#include "domain/ServerNoteStore.h"
#include "tests/support/TestHome.h"
#ifdef KV_TEST_ON_SERVER
#include "tests/support/PgTestServer.h"
#endif

#include <memory>

// A notes suite's name with its backend, so that the cases of test_domain
// (or test_reports) and of test_notes_pg stay apart in ctest.
#ifdef KV_TEST_ON_SERVER
#define KV_NOTES_SUITE(name) name##OnServer
#else
#define KV_NOTES_SUITE(name) name
#endif

namespace kvtest
{

// The notes a notes suite writes and reads, on its test program's backend:
// the private note files of a throw-away data home, or (compiled with
// KV_TEST_ON_SERVER into test_notes_pg) the notes table of a database of
// its own on the test server, as a session with settings().database set
// reads them. The settings point at both while the backend lives.
class NoteBackend
{
public:
#ifdef KV_TEST_ON_SERVER
    static constexpr bool onServer = true;
#else
    static constexpr bool onServer = false;
#endif

    NoteBackend()
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = m_home.path();
#ifdef KV_TEST_ON_SERVER
        m_db = std::make_unique<PgTestDatabase>();
        kv::settings().database = m_db->conninfo();
#endif
        m_store = session(QStringLiteral("anna"));
    }
    ~NoteBackend()
    {
        m_store.reset();
        kv::settings() = kv::Settings();
    }
    NoteBackend(const NoteBackend&) = delete;
    NoteBackend& operator=(const NoteBackend&) = delete;

    TestHome& home()
    {
        return m_home;
    }
    // The session of the author "anna".
    kv::NoteStore& store()
    {
        return *m_store;
    }

    // Another session writing as author: a connection of its own on the
    // server; with files the same private notes (a file keeps no author).
    std::unique_ptr<kv::NoteStore> session(const QString& author)
    {
#ifdef KV_TEST_ON_SERVER
        return std::make_unique<kv::ServerNoteStore>(m_db->conninfo(), author);
#else
        Q_UNUSED(author);
        return std::make_unique<kv::FileNoteStore>();
#endif
    }

    // Writes (blank: deletes) author's note of the firm from another session.
    void write(qint64 peno, const QString& text, const QString& author = QStringLiteral("anna"))
    {
        const auto other = session(author);
        other->save(peno, text, other->own(peno).revision);
    }

private:
    TestHome m_home;
#ifdef KV_TEST_ON_SERVER
    std::unique_ptr<PgTestDatabase> m_db;
#endif
    std::unique_ptr<kv::NoteStore> m_store;
};

} // namespace kvtest
