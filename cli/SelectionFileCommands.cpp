#include "cli/SelectionFileCommands.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "cli/CompanyData.h"
#include "cli/HeadlessArgs.h"
#include "cli/LoadSelectionReporting.h"
#include "core/Config.h"
#include "core/Error.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
#include "domain/NoteStore.h"
#include "domain/SelectionApply.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace kv
{

namespace
{

// Builds the filter on the home's database and hands it with the runner to
// report; returns the exit code.
template <class Report> int withFilter(const cli::CommandCall& command, Report report)
{
    QTextStream& err = command.err();
    const HeadlessArgs call = HeadlessArgs::from(command);
    const auto state = loadSelectionReporting(call.selection, err);
    if (!state)
        return 2;
    if (const int notes = CompanyData::checkNotes(call, *state, command.name(), err))
        return notes;
    engine::Database db;
    if (const int failed = CompanyData::open(call, db, command.name(), err))
        return failed;
    try {
        EngineStatementRunner runner(db);
        const auto notes = CompanyData::notes(call);
        FilterBuilder builder = notes ? FilterBuilder(runner, *notes)
                                      : FilterBuilder(runner, CompanyData::noteDir(call));
        // The firms' numbers stay numbers on their way to the count.
        const engine::Filter filter = builder.buildFilterWithSets(*state);
        return report(filter, runner);
    } catch (const Error& e) {
        if (e.is(Error::Kind::Engine)) {
            err << "kvelta " << command.name() << ": " << e.message() << "\n";
            return 1;
        }
        if (!e.is(Error::Kind::Selection))
            throw;
        err << call.selection << ": " << e.message() << "\n";
        return 2;
    }
}

} // namespace

int filterCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("filter")} + args, out, err);
}

int countCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("count")} + args, out, err);
}

namespace cli
{

void declareFilter(CommandSyntax& syntax)
{
    syntax.describe(
        QStringLiteral("Prints the filter the saved selection installs on the company set."));
    HeadlessArgs::declareHome(syntax);
    HeadlessArgs::declareSelection(syntax, true);
}

void declareCount(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral("Prints how many firms the saved selection selects."));
    HeadlessArgs::declareHome(syntax);
    HeadlessArgs::declareSelection(syntax, true);
}

int runFilter(const CommandCall& call)
{
    return withFilter(call, [&](const engine::Filter& filter, StatementRunner&) {
        if (!filter.isEmpty())
            call.out() << filter.text() << "\n";
        return 0;
    });
}

int runCount(const CommandCall& call)
{
    return withFilter(call, [&](const engine::Filter& filter, StatementRunner& runner) {
        const std::optional<int> n = countSelection(filter, runner);
        if (!n) {
            call.err() << loadStr(196) << "\n";
            return 3;
        }
        call.out() << *n << "\n";
        return 0;
    });
}

} // namespace cli

} // namespace kv
