#include "domain/FileNoteStore.h"

#include "core/Settings.h"
#include "domain/NoteCondition.h"
#include "domain/NoteFile.h"

#include <algorithm>

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

std::vector<qint64> FileNoteStore::firmsWithNotes()
{
    std::vector<qint64> penos = noteFileFirms(dataPath(QStringLiteral("Pozn")));
    std::sort(penos.begin(), penos.end());
    return penos;
}

} // namespace kv
