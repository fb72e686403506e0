#include "domain/NoteStore.h"

#include "core/Settings.h"
#include "domain/FileNoteStore.h"
#include "domain/ServerNoteStore.h"

namespace kv
{

NoteStore::~NoteStore() = default;

std::unique_ptr<NoteStore> NoteStore::fromSettings()
{
    if (settings().database.isEmpty())
        return std::make_unique<FileNoteStore>();
    return std::make_unique<ServerNoteStore>(settings().database, ServerNoteStore::defaultAuthor());
}

} // namespace kv
