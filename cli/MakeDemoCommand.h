#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// `kvelta make-demo DIR [--firms N] [--seed S] [--force]`: writes a demo
// data home into DIR. args: the arguments after the subcommand name.
// Returns 0 on success, 1 when the home cannot be written (a non-empty DIR
// without --force, a write error), 2 for bad arguments (usage on err).
// Draws pictures, so it needs a QGuiApplication; when no application object
// exists yet it makes an offscreen one for the run.
int makeDemoCommand(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declareMakeDemo(CommandSyntax& syntax);
int runMakeDemo(const CommandCall& call);
} // namespace cli

} // namespace kv
