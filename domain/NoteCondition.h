#pragma once

#include <QString>
#include <vector>

namespace kv
{

// The firms with a note file <peno>.tx in noteDir (the data home's Pozn
// folder), in name order. Hidden files, folders, links and names that are
// not a company number are skipped.
std::vector<qint64> noteFileFirms(const QString& noteDir);

// The condition "firm has a note": "(peno in (15,2033))" built from the note
// files of noteDir (noteFileFirms); without any note file it is empty. On a
// server the selection asks the session's NoteStore instead (FilterBuilder).
QString NoteCondition(const QString& noteDir);

} // namespace kv
