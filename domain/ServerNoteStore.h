#pragma once

#include "domain/NoteStore.h"

#include <memory>

namespace kv
{

namespace engine
{
class PgConnection;
}

// The office's notes on the PostgreSQL server of settings().database
// (engine/PgNoteStore), written under one author name. The connection is
// made on first use; any failure (server down, connection lost) drops it and
// throws Error::engine, and the next call connects again, so a window can
// keep what was typed and simply try once more.
class ServerNoteStore : public NoteStore
{
public:
    ServerNoteStore(const QString& conninfo, const QString& author);
    ~ServerNoteStore() override;

    // The setting NoteAuthor (QSettings Lumora/KV2001, user then system
    // scope), else the login name.
    static QString defaultAuthor();

    bool shared() const override { return true; }
    QString author() const override { return m_author; }
    Note own(qint64 peno) override;
    std::vector<Note> all(qint64 peno) override;
    NoteSave save(qint64 peno, const QString& text, qint64 openedAt) override;
    std::vector<qint64> firmsWithNotes() override;

private:
    template <class Action> auto guarded(Action action);

    QString m_conninfo;
    QString m_author;
    std::unique_ptr<engine::PgConnection> m_connection;
};

} // namespace kv
