#pragma once

#include <QStringList>

class QTextStream;

namespace kv
{

// kvelta import-mdb FILE.mdb OUT.db [--charset CS]: copies a Jet database
// into a new SQLite database and reports what it lacks of the company
// schema. Exit code 0 done, 1 failed (no output left), 2 bad arguments,
// 3 done but not a complete company database.
int importMdbCommand(const QStringList& args, QTextStream& out, QTextStream& err);
// The same with the progress style chosen by the caller.
int importMdb(const QStringList& args, QTextStream& out, QTextStream& err, bool terminal);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declareImportMdb(CommandSyntax& syntax);
int runImportMdb(const CommandCall& call);
} // namespace cli

} // namespace kv
