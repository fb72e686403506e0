#pragma once

#include <QStringList>
#include <QTextStream>
#include <optional>

namespace kv
{

// kvelta find [--home DIR] [--db URL] TEXT [--limit N]
//
// Prints the firms quick find offers for TEXT, best first, one a line:
// peno, IČO, name and town separated by tabs, UTF-8. Words after the options
// make up the text. Exit codes: 0 firms printed, 1 the database could not be
// opened or indexed, 2 bad arguments, 3 no firm matches.
struct FindArgs {
    QString home;
    QString text;
    int limit = 50;
};

int findCommand(const QStringList& args, QTextStream& out, QTextStream& err);

namespace cli
{
class CommandCall;
class CommandSyntax;
void declareFind(CommandSyntax& syntax);
int runFind(const CommandCall& call);
} // namespace cli

} // namespace kv
