#include "cli/HeadlessArgs.h"

#include "cli/CommandCall.h"
#include "cli/CommandSyntax.h"
#include "core/Config.h"
#include "core/Settings.h"

namespace kv
{

void HeadlessArgs::declareHome(cli::CommandSyntax& syntax, Server server)
{
    syntax.addOption({QStringLiteral("home")}, QStringLiteral("the data home for this run"),
                     QStringLiteral("DIR"));
    if (server == Server::Readable)
        syntax.addOption({QStringLiteral("db")},
                         QStringLiteral("the server with the company data for this run (a libpq "
                                        "connection string)"),
                         QStringLiteral("URL"));
}

void HeadlessArgs::declareSelection(cli::CommandSyntax& syntax, bool required)
{
    using Need = cli::CommandSyntax::Need;
    syntax.addArgument(QStringLiteral("FILE.kvv"),
                       required ? QStringLiteral("a saved selection")
                                : QStringLiteral("a saved selection (default: every firm)"),
                       required ? Need::Required : Need::Optional);
}

void HeadlessArgs::declareOutput(cli::CommandSyntax& syntax, const QString& file)
{
    syntax.addOption({QStringLiteral("o")}, QStringLiteral("the file to write"), file,
                     cli::CommandSyntax::Need::Required);
}

HeadlessArgs HeadlessArgs::from(const cli::CommandCall& call)
{
    HeadlessArgs args;
    args.home = call.value(QStringLiteral("home"));
    args.selection = call.positional().value(0);
    if (call.declares(QStringLiteral("o")))
        args.output = call.value(QStringLiteral("o"));
    if (args.home.isEmpty())
        args.home = settings().dataHome;
    if (args.home.isEmpty())
        args.home = settingsHome();
    if (!call.declares(QStringLiteral("db")))
        return args;
    args.database = call.value(QStringLiteral("db"));
    if (args.database.isEmpty())
        args.database = settings().database;
    if (args.database.isEmpty())
        args.database = settingsDatabase();
    return args;
}

} // namespace kv
