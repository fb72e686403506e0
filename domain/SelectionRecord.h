#pragma once

#include <QStringList>

class QBuffer;
class QIODevice;

namespace kv
{

class SelectionState;

// The selection record: the selection's whole state as CR LF lines in
// Windows-1250, used for the Cancel snapshot and inside selection files.
// Line 1 is a fixed header, lines 2 to 6 the switches and check boxes, then
// the seven row blocks in SelectionState::RecordOrder.
namespace selectionrecord
{
// The first line, " libovolny* textík 58 KV2001" (í is byte 0xED on disk).
QString header();
constexpr int EmptyRecordLines = 27;
// What the caller shows for a file without the header: this text id, then
// ProgramName, with the error caption 17.
constexpr int WrongHeaderTextId = 233;
constexpr char ProgramName[] = "Kvelta 2001";
} // namespace selectionrecord

// Appends the record of state at the stream's position.
void writeSelection(const SelectionState& state, QIODevice& stream);

// Reads a record from the stream's position into state. Returns false and
// leaves state alone when the first line is not the header (also for no
// lines at all): the caller reports text 233 followed by "Kvelta 2001".
// A record that is cut short or holds a line that is not a number throws
// Error::selection, and state is left alone as well.
bool readSelection(QIODevice& stream, SelectionState& state);
// The same for a record's whole text (a selection file's), taken line by
// line: the values read cost memory, the lines around them none.
bool readSelectionText(QStringView text, SelectionState& state);

// Moves the next criterion block (flag, count, texts, count, ids) from the
// front of remaining into target, which is emptied first and rewound after.
// Throws Error::selection when remaining is too short for the block.
void extractBlock(QStringList& remaining, QBuffer& target);
// The same block, returned as its lines.
QStringList takeBlock(QStringList& remaining);

} // namespace kv
