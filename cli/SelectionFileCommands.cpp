#include "cli/SelectionFileCommands.h"

#include "cli/LoadSelectionReporting.h"
#include "core/Config.h"
#include "core/Error.h"
#include "core/Global.h"
#include "core/StringTable.h"
#include "domain/EngineStatementRunner.h"
#include "domain/FilterBuilder.h"
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

struct Invocation {
    QString home;
    QString file;
};

std::optional<Invocation> parse(const char* command, const QStringList& args, QTextStream& err)
{
    Invocation call;
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--home")) {
            if (i + 1 >= args.size()) {
                err << "kvelta " << command << ": --home needs a folder\n";
                return std::nullopt;
            }
            call.home = args[++i];
        } else {
            rest << args[i];
        }
    }
    if (rest.size() != 1 || rest[0].startsWith(QLatin1Char('-'))) {
        err << "usage: kvelta " << command << " [--home DIR] FILE.kvv\n";
        return std::nullopt;
    }
    call.file = rest[0];
    if (call.home.isEmpty())
        call.home = global().dataHome;
    if (call.home.isEmpty())
        call.home = settingsHome();
    return call;
}

// Builds the filter on the home's database and hands it with the runner to
// report; returns the exit code.
template <class Report>
int withFilter(const char* command, const QStringList& args, QTextStream& err, Report report)
{
    const auto call = parse(command, args, err);
    if (!call)
        return 2;
    const auto state = loadSelectionReporting(call->file, err);
    if (!state)
        return 2;
    if (call->home.isEmpty()) {
        err << "kvelta " << command << ": no data home (use --home DIR)\n";
        return 2;
    }
    const QString dbPath = QDir(call->home).filePath(QStringLiteral("Dta/KV2001.db"));
    if (!QFileInfo(dbPath).isFile()) {
        err << "kvelta " << command << ": " << dbPath << ": " << loadStr(18) << "\n";
        return 1;
    }
    try {
        engine::Database db(dbPath, engine::Database::Mode::ReadOnly);
        for (const QString& warning : db.rankWarnings())
            err << "kvelta " << command << ": warning: " << warning << "\n";
        EngineStatementRunner runner(db);
        FilterBuilder builder(runner, QDir(call->home).filePath(QStringLiteral("Pozn")));
        const QString filter = builder.buildFilter(*state);
        return report(filter, runner);
    } catch (const Error& e) {
        if (e.is(Error::Kind::Engine)) {
            err << "kvelta " << command << ": " << e.message() << "\n";
            return 1;
        }
        if (!e.is(Error::Kind::Selection))
            throw;
        err << call->file << ": " << e.message() << "\n";
        return 2;
    }
}

} // namespace

int filterCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return withFilter("filter", args, err, [&](const QString& filter, StatementRunner&) {
        if (!filter.isEmpty())
            out << filter << "\n";
        return 0;
    });
}

int countCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return withFilter("count", args, err, [&](const QString& filter, StatementRunner& runner) {
        const std::optional<int> n = countSelection(filter, runner);
        if (!n) {
            err << loadStr(196) << "\n";
            return 3;
        }
        out << *n << "\n";
        return 0;
    });
}

} // namespace kv
