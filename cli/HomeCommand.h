#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// home            prints the configured data home (nothing when none is set)
// home --set DIR  stores DIR as the user's data home
int homeCommand(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declareHome(CommandSyntax& syntax);
int runHome(const CommandCall& call);
} // namespace cli

} // namespace kv
