#pragma once

#include "domain/NoteEdit.h"

#include <optional>

class QWidget;

namespace kv
{

// The question a note save asks when another session saved the same note
// since it was opened: it shows the other text, its author and time, and
// offers keep theirs, overwrite with mine, keep both (mine appended below
// theirs) or back to the editor (no answer).
class NoteConflictQuestion
{
public:
    static std::optional<NoteEdit::Answer> ask(QWidget* parent, const Note& theirs);
};

} // namespace kv
