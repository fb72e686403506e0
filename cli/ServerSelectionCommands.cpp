#include "cli/ServerSelectionCommands.h"

#include "cli/CommandCall.h"
#include "cli/CommandSyntax.h"
#include "cli/LoadSelectionReporting.h"
#include "core/Config.h"
#include "core/Error.h"
#include "core/Settings.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "domain/ServerSelections.h"

namespace kv::cli
{

namespace
{

void declareServer(CommandSyntax& syntax)
{
    syntax.addOption({QStringLiteral("db")},
                     QStringLiteral("the PostgreSQL server of the saved selections (a libpq "
                                    "connection string; default: the setting Database)"),
                     QStringLiteral("URL"));
}

// --db, else the program's setting; empty when neither names a server.
QString serverOf(const CommandCall& call)
{
    QString server = call.value(QStringLiteral("db"));
    if (server.isEmpty())
        server = settings().database;
    if (server.isEmpty())
        server = settingsDatabase();
    return server;
}

QString savedAt(const ServerSelections::Entry& entry)
{
    return entry.savedAt.toString(Qt::ISODate);
}

// Runs work against the server; engine failures end with 1, refused names
// and damaged records with 2.
template <class Work> int onServer(const CommandCall& call, Work work)
{
    const QString server = serverOf(call);
    if (server.trimmed().isEmpty())
        return call.usageError(QStringLiteral("no server (use --db URL or the setting Database)"));
    try {
        return work(ServerSelections(server));
    } catch (const Error& e) {
        call.err() << "kvelta " << call.name() << ": " << e.message() << "\n";
        return e.is(Error::Kind::Engine) ? 1 : 2;
    }
}

} // namespace

void declareSelectionList(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral(
        "Lists the selections saved on the server, one a line in Czech order of their\n"
        "names: name, author and time saved (UTC), separated by tabs."));
    declareServer(syntax);
}

void declareSelectionSave(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral(
        "Saves the selection file FILE.kvv on the server under NAME. A name that is taken\n"
        "is left alone unless --replace is given and the selection is your own."));
    declareServer(syntax);
    syntax.addOption({QStringLiteral("replace")},
                     QStringLiteral("replace your own selection of that name"));
    syntax.addArgument(QStringLiteral("NAME"), QStringLiteral("the name on the server"));
    syntax.addArgument(QStringLiteral("FILE.kvv"), QStringLiteral("the selection to save"));
}

void declareSelectionLoad(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral(
        "Writes the selection saved on the server as NAME to the selection file -o OUT,\n"
        "which the commands that take a FILE.kvv read (kvelta count, filter, export, print)."));
    declareServer(syntax);
    syntax.addArgument(QStringLiteral("NAME"), QStringLiteral("the name on the server"));
    syntax.addOption({QStringLiteral("o")}, QStringLiteral("the selection file to write"),
                     QStringLiteral("OUT.kvv"), CommandSyntax::Need::Required);
}

int runSelectionList(const CommandCall& call)
{
    return onServer(call, [&](const ServerSelections& server) {
        for (const ServerSelections::Entry& entry : server.list())
            call.out() << entry.name << '\t' << entry.author << '\t' << savedAt(entry) << "\n";
        return 0;
    });
}

int runSelectionSave(const CommandCall& call)
{
    const QString name = call.positional().value(0);
    const QString file = call.positional().value(1);
    if (const QString problem = engine::PgSelectionStore::nameProblem(name); !problem.isEmpty())
        return call.usageError(problem);
    const auto state = loadSelectionReporting(file, call.err());
    if (!state)
        return 2;
    return onServer(call, [&](const ServerSelections& server) {
        const auto result = server.save(name, *state, call.isSet(QStringLiteral("replace")));
        switch (result.outcome) {
        case ServerSelections::Outcome::Saved:
        case ServerSelections::Outcome::Replaced:
            call.out() << (result.outcome == ServerSelections::Outcome::Saved ? "Saved"
                                                                              : "Replaced")
                       << " \"" << name << "\" (" << result.entry.author << ", "
                       << savedAt(result.entry) << ").\n";
            return 0;
        case ServerSelections::Outcome::Exists:
            call.err() << "kvelta " << call.name() << ": you saved \"" << name << "\" at "
                       << savedAt(result.entry) << " already; --replace replaces it\n";
            return 1;
        case ServerSelections::Outcome::Foreign:
            break;
        }
        call.err() << "kvelta " << call.name() << ": \"" << name << "\" is a selection of "
                   << result.entry.author << " (saved " << savedAt(result.entry)
                   << "); choose another name\n";
        return 1;
    });
}

int runSelectionLoad(const CommandCall& call)
{
    const QString name = call.positional().value(0);
    const QString out = call.value(QStringLiteral("o"));
    if (out.isEmpty())
        return call.usageError(QStringLiteral("-o OUT.kvv is empty"));
    return onServer(call, [&](const ServerSelections& server) {
        SelectionState state;
        if (!server.load(name, state)) {
            call.err() << "kvelta " << call.name() << ": the server holds no selection \"" << name
                       << "\"\n";
            return 1;
        }
        try {
            saveSelection(state, out);
        } catch (const Error& e) {
            if (!e.is(Error::Kind::File))
                throw;
            call.err() << e.message() << "\n";
            return 1;
        }
        return 0;
    });
}

} // namespace kv::cli
