#pragma once

#include <QString>

namespace kv
{

namespace cli
{
class CommandCall;
class CommandSyntax;
} // namespace cli

// The arguments the headless commands on a data home share:
// [--home DIR] [FILE.kvv] [--OPTION VALUE ...] -o OUT.
struct HeadlessArgs {
    QString home;
    QString database; // libpq connection string; empty: the data home's file
    QString selection;
    QString output;

    // --home DIR and, for commands that read the company data, --db URL.
    enum class Server { Readable, NotRead };
    static void declareHome(cli::CommandSyntax& syntax, Server server = Server::Readable);
    // FILE.kvv, a saved selection; without it (when optional) every firm.
    static void declareSelection(cli::CommandSyntax& syntax, bool required);
    // -o OUT, the file to write.
    static void declareOutput(cli::CommandSyntax& syntax, const QString& file);

    // The values given; without --home (--db) the data home (server) of the
    // running program, else the one in the settings.
    static HeadlessArgs from(const cli::CommandCall& call);
};

} // namespace kv
