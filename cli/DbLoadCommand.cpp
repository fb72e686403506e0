#include "cli/DbLoadCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandSyntax.h"
#include "cli/HeadlessArgs.h"
#include "cli/ImportProgressPrinter.h"

#include "core/Error.h"
#include "core/StringTable.h"
#include "engine/Database.h"
#include "engine/PgConnection.h"
#include "engine/PgDirectoryLoader.h"
#include "engine/PgSelectionStore.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <unistd.h>

namespace kv::cli
{

void declareDbLoad(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral(
        "Copies the data home's company database (Dta/KV2001.db) into the PostgreSQL\n"
        "database URL: every table, its keys and indexes, text in Czech order. The copy\n"
        "becomes a new schema kv_<time>; the row of kvelta.version names the current one\n"
        "and changes in the same transaction, so readers see the old or the new directory,\n"
        "never half of one. The old version is dropped once no transaction that began\n"
        "before the switch is open (waiting at most --wait seconds, else the next load\n"
        "drops it). Creates the role kvelta_reader, which may only read the directory, and\n"
        "the table of saved selections with the role kvelta_selections, once.\n"
        "URL: postgresql://USER@HOST/DB or a libpq string such as \"host=/run/pg dbname=kv\"."));
    HeadlessArgs::declareHome(syntax, HeadlessArgs::Server::NotRead); // URL is the target
    syntax.addOption({QStringLiteral("wait")},
                     QStringLiteral("seconds to wait for readers of the old version (default 60)"),
                     QStringLiteral("SECONDS"));
    syntax.addArgument(QStringLiteral("URL"), QStringLiteral("the PostgreSQL database to load"));
}

int runDbLoad(const CommandCall& call)
{
    QTextStream& out = call.out();
    QTextStream& err = call.err();
    int waitSeconds = 60;
    if (call.isSet(QStringLiteral("wait"))) {
        bool ok = false;
        waitSeconds = call.value(QStringLiteral("wait")).toInt(&ok);
        if (!ok || waitSeconds < 0 || waitSeconds > 86400)
            return call.usageError(QStringLiteral("--wait needs a number of seconds (0 to 86400)"));
    }
    const QString url = call.positional().value(0);
    if (url.trimmed().isEmpty())
        return call.usageError(QStringLiteral("URL is empty"));
    const HeadlessArgs args = HeadlessArgs::from(call);
    if (args.home.isEmpty()) {
        err << "kvelta db load: no data home (use --home DIR)\n";
        return 2;
    }
    const QString dbPath = QDir(args.home).filePath(QStringLiteral("Dta/KV2001.db"));
    if (!QFileInfo(dbPath).isFile()) {
        err << "kvelta db load: " << dbPath << ": " << loadStr(18) << "\n";
        return 1;
    }
    try {
        engine::Database source(dbPath, engine::Database::Mode::ReadOnly);
        engine::PgConnection target(url);
        err << "Loading " << dbPath << " into " << target.describe() << "\n";
        err.flush();
        // A bar redrawn in place on a terminal, a line per table in a log.
        const bool terminal = isatty(fileno(stderr)) != 0;
        kv::jet::ImportProgressPrinter bar(err, true);
        engine::PgDirectoryLoader loader(source, target);
        loader.setDropWait(waitSeconds * 1000);
        loader.setProgress([&](int table, int tables, const QString& name, qint64 rows, bool done) {
            if (terminal)
                bar.update(done ? table : table - 1, tables, name, rows);
            else if (done)
                err << QStringLiteral("%1/%2 %3: %4 rows\n")
                           .arg(table)
                           .arg(tables)
                           .arg(name)
                           .arg(rows);
            err.flush();
        });
        loader.setNote([&err](const QString& line) {
            err << line << "\n";
            err.flush();
        });
        const auto result = loader.run(QFileInfo(dbPath).absoluteFilePath());
        // The office's saved selections live beside the versions; the
        // loading role sets their table up once. The load has committed by
        // now, so a role that may not do it gets a warning, not a failure.
        try {
            engine::PgSelectionStore(target).ensureTable();
        } catch (const Error& e) {
            if (!e.is(Error::Kind::Engine))
                throw;
            err << "kvelta db load: warning: saved selections are not set up: " << e.message()
                << "\n";
        }
        qint64 rows = 0;
        for (const auto& [table, count] : result.rows)
            rows += count;
        out << QStringLiteral("Loaded %1 tables with %2 rows into schema %3.\n")
                   .arg(result.rows.size())
                   .arg(rows)
                   .arg(result.schema);
        out.flush();
        return 0;
    } catch (const std::exception& e) {
        err << "kvelta db load: " << QString::fromUtf8(e.what()) << "\n";
        return 1;
    }
}

} // namespace kv::cli
