#include "domain/FileNoteStore.h"

#include "domain/NoteFile.h"

namespace kv
{

Note FileNoteStore::own(qint64 peno)
{
    Note n;
    n.text = NoteFile::text(peno);
    return n;
}

std::vector<Note> FileNoteStore::all(qint64 peno)
{
    if (!NoteFile::exists(peno))
        return {};
    return {own(peno)};
}

NoteSave FileNoteStore::save(qint64 peno, const QString& text, qint64)
{
    NoteFile::save(peno, text);
    NoteSave result;
    result.saved = true;
    result.current.text = text;
    return result;
}

} // namespace kv
