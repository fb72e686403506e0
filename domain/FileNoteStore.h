#pragma once

#include "domain/NoteStore.h"

namespace kv
{

// The user's private notes, Pozn/<peno>.tx below the data home (NoteFile).
// One reader and writer, so a save is never contested.
class FileNoteStore : public NoteStore
{
public:
    bool shared() const override { return false; }
    QString author() const override { return QString(); }
    Note own(qint64 peno) override;
    std::vector<Note> all(qint64 peno) override;
    NoteSave save(qint64 peno, const QString& text, qint64 openedAt) override;
    std::vector<qint64> firmsWithNotes() override;
};

} // namespace kv
