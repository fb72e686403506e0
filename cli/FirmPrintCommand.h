#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// kvelta print list [--home DIR] [FILE.kvv] [--items tel,fax,email,www,pozn] -o OUT.pdf
// kvelta print profiles [--home DIR] [FILE.kvv] -o OUT.pdf
//
// The company list (with the chosen items; name and address only by default)
// or the profiles of the firms a selection picks (every firm without one), in
// the list window's order, the same pages as the preview. Exit codes: those
// of HeadlessPrint (0 written, 1 database, 2 arguments or selection, 3 no
// firm to print, 5 the file could not be written).
int printListCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int printProfilesCommand(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declarePrintList(CommandSyntax& syntax);
int runPrintList(const CommandCall& call);
void declarePrintProfiles(CommandSyntax& syntax);
int runPrintProfiles(const CommandCall& call);
} // namespace cli

} // namespace kv
