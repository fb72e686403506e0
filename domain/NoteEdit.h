#pragma once

#include "domain/NoteStore.h"

#include <optional>

namespace kv
{

// One editing of the own note of a firm: remembers the revision it was
// opened at, saves against it and settles a conflict the way the user
// answered. Nothing typed is dropped unless the user chose so.
class NoteEdit
{
public:
    // What the user answers when another session saved the note meanwhile.
    enum class Answer {
        KeepTheirs, // write nothing; the other text stays
        Overwrite,  // write mine over theirs
        KeepBoth,   // their text stays and mine is appended below it
    };

    // Reads the own note; throws what the store throws.
    NoteEdit(NoteStore& store, qint64 peno);
    // Starts from a note read before (or an empty one when it could not be
    // read: a save then meets any note that exists as a conflict).
    NoteEdit(NoteStore& store, qint64 peno, const Note& opened);

    qint64 peno() const { return m_peno; }
    // The note as it was opened, or as last saved or accepted.
    const Note& opened() const { return m_opened; }

    // Saves the text. Empty: saved. Otherwise the other session's note,
    // which the user must answer with resolve(). A conflicting note that
    // already holds exactly this text counts as saved. A note of another
    // login role, which the server does not let this one change, throws
    // Error::engine saying so (refused() is then true); nothing is written.
    std::optional<Note> save(const QString& text);
    // Applies the answer to the conflict theirs (from save() or a previous
    // resolve()); returns a newer conflict when the note changed yet again.
    std::optional<Note> resolve(Answer answer, const QString& mine, const Note& theirs);

    // Whether the last save or resolve was refused (see save()).
    bool refused() const { return m_refused; }

    // Their text with mine appended on the lines below.
    static QString bothTexts(const QString& theirs, const QString& mine);

private:
    std::optional<Note> saveAt(const QString& text, qint64 revision);

    NoteStore& m_store;
    qint64 m_peno;
    Note m_opened;
    bool m_refused = false;
};

} // namespace kv
