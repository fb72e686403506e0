#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv::cli
{

class CommandSyntax;
struct Command;

// Whether the arguments (after the program name) are for the headless part:
// a command word, or --help/-h/--version alone. Anything else starts the
// desktop program, whose options desktop declares.
bool isCommandLine(const QStringList& args);

// Runs `kvelta COMMAND ...`, --help or --version as a process: the command
// gets an application object without a screen, and an exception it lets
// through ends it with exit code 1. Returns the exit code.
int run(int argc, char** argv, const CommandSyntax& desktop);

// Runs a command in this process: words starts with the command's name.
// Exit code 2, with the reason and the usage on err, for arguments that do
// not fit; 0 after COMMAND --help.
int runCommand(const QStringList& words, QTextStream& out, QTextStream& err);
// The same for a command given as such; args follow its name.
int runCommand(const Command& command, const QStringList& args, QTextStream& out, QTextStream& err);

// kvelta --help: the desktop program's synopsis, then every command.
void printOverview(QTextStream& stream, const CommandSyntax& desktop);

} // namespace kv::cli
