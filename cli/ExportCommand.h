#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// kvelta export [--home DIR] [FILE.kvv] [--items nazev,ulice,...,osoba]
//               [--separator semicolon|tab|TEXT] [--format text|csv|xlsx] -o OUT
//
// Writes the same bytes as the export window with the same choices. Without
// a selection file the whole company table is exported, else the firms the
// selection's filter picks, in the company list's order. Items and separator
// default to the window's designed state (name, street, town, postcode; tab).
// --format csv writes UTF-8 CSV (separator "," unless given), xlsx a workbook;
// text, the default, the window's bytes.
// Exit codes: 0 written, 1 the database could not be opened or rejected a
// statement, 2 bad arguments or an unusable selection file, 4 more firms
// than the export limit (text 218), 5 the output file could not be written.
int exportCommand(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declareExport(CommandSyntax& syntax);
int runExport(const CommandCall& call);
} // namespace cli

} // namespace kv
