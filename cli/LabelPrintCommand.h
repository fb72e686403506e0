#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// kvelta print labels [--home DIR] [FILE.kvv] [--labels FILE.kl] -o OUT.pdf:
// the address labels of the selection (the whole table without one) with the
// settings of the label file (the start values without one), as a PDF file.
// Exit codes: 0 written, 1 database, 2 arguments, selection or label file,
// 3 nothing to print, 5 the file could not be written.
int printLabelsCommand(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declarePrintLabels(CommandSyntax& syntax);
int runPrintLabels(const CommandCall& call);
} // namespace cli

} // namespace kv
