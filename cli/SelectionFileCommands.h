#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// Headless subcommands over selection files. args holds the words after the
// subcommand: [--home DIR] FILE.kvv. The data home is DIR, else the one
// already set in settings() (the global --home), else the stored setting.
// Exit codes: 0 done, 1 the database could not be opened or ran a statement
// it rejected, 2 bad arguments or a file that is not a usable selection,
// 3 (count only) a selection without any criterion.

// kvelta filter: prints the filter OK would install, one line; nothing for
// an empty selection.
int filterCommand(const QStringList& args, QTextStream& out, QTextStream& err);

// kvelta count: prints the number of firms Count reports.
int countCommand(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declareFilter(CommandSyntax& syntax);
void declareCount(CommandSyntax& syntax);
int runFilter(const CommandCall& call);
int runCount(const CommandCall& call);
} // namespace cli

} // namespace kv
