#pragma once

#include <QString>

namespace kv
{

class SelectionState;

// Selection files (*.kvv): the selection record in the list-file container,
// mode 1, body key 0x0C.
namespace selectionfile
{
constexpr int Mode = 1;
constexpr int Key = 0x0C;
// The largest file read: a million values with their texts fit several
// times over, and a hostile file is refused before it is read into memory.
constexpr qint64 MaxBytes = 32 * 1024 * 1024;
} // namespace selectionfile

// Writes state to path, replacing the file only once it is complete. File
// layer failures throw Error::file.
void saveSelection(const SelectionState& state, const QString& path);

// Reads path (a container file or plain text holding the record) into
// state. Returns false when the file holds no selection record (wrong first
// line, or empty): the caller shows text 233 + "Kvelta 2001". A missing or
// unreadable file throws Error::file, a damaged record Error::selection, as does
// a file larger than selectionfile::MaxBytes (before it is read) or a row of
// more than CriterionValueList::MaxValues values; in every failure state stays as it was.
bool loadSelection(const QString& path, SelectionState& state);

} // namespace kv
