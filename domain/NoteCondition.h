#pragma once

#include <QString>

namespace kv
{

// The condition "firm has a note": "(peno in (15,2033))" built from the note
// files <peno>.tx in noteDir (the data home's Pozn folder), in name order.
// Hidden files, folders and names that are not a company number are
// skipped; without any note file the condition is empty.
QString NoteCondition(const QString& noteDir);

} // namespace kv
