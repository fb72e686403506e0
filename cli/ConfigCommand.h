#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// kvelta config [--config FILE] [--set KEY=VALUE]...
// Without --set: prints where the program keeps KV2001.ini (the first line)
// and then the file's lines. With --set: changes or adds those lines and
// writes the file as the program does on exit, keeping its other lines.
// Exit codes: 0 done, 1 the file could not be read or written, 2 bad
// arguments or a value the program would refuse at start.
int configCommand(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declareConfig(CommandSyntax& syntax);
int runConfig(const CommandCall& call);
} // namespace cli

} // namespace kv
