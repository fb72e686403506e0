#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// Headless subcommands for the list-file container. args holds the words
// after the subcommand. Results are process exit codes: 0 success, 1 a file
// could not be read, written or converted, 2 bad arguments.

// oxo-dump FILE: prints the lines of a list file (container or plain text).
int oxoDump(const QStringList& args, QTextStream& out, QTextStream& err);

// oxo-pack --key K IN OUT: stores the lines of the UTF-8 text file IN as a
// scrambled container OUT with body key K (decimal or 0x hexadecimal).
int oxoPack(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declareOxoDump(CommandSyntax& syntax);
int runOxoDump(const CommandCall& call);
void declareOxoPack(CommandSyntax& syntax);
int runOxoPack(const CommandCall& call);
} // namespace cli

} // namespace kv
