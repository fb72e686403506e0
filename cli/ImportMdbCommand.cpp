#include "cli/ImportMdbCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "cli/CommandTable.h"
#include "cli/ImportProgressPrinter.h"
#include "jetimport/JetImport.h"

#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace kv
{

namespace
{

int importWith(const cli::CommandCall& call, bool terminal)
{
    QTextStream& out = call.out();
    QTextStream& err = call.err();
    jet::JetImport::Options options;
    if (call.isSet(QStringLiteral("charset"))) {
        options.charset = call.value(QStringLiteral("charset"));
        if (options.charset.isEmpty())
            return call.usageError(QStringLiteral("--charset needs a value"));
    }
    const QStringList files = call.positional();
    jet::JetImport importer(options);
    jet::ImportProgressPrinter printer(out, terminal);
    importer.setProgress([&printer](int done, int total, const QString& table, qint64 rows) {
        printer.update(done, total, table, rows);
    });
    if (!importer.run(files[0], files[1])) {
        out.flush();
        err << "kvelta import-mdb: " << importer.error() << "\n";
        err.flush();
        return 1;
    }
    out << QStringLiteral("Imported %1 tables with %2 rows from %3 (%4) into %5.\n")
               .arg(importer.tableCount())
               .arg(importer.rowCount())
               .arg(files[0], importer.version(), files[1]);
    const int code = importer.gaps().isEmpty() ? 0 : 3;
    if (code == 3)
        out << "Not a complete company database; the program will refuse it. "
            << importer.gaps().describe() << "\n";
    out.flush();
    return code;
}

int importWithBar(const cli::CommandCall& call)
{
    return importWith(call, true);
}

int importWithLines(const cli::CommandCall& call)
{
    return importWith(call, false);
}

} // namespace

int importMdbCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("import-mdb")} + args, out, err);
}

int importMdb(const QStringList& args, QTextStream& out, QTextStream& err, bool terminal)
{
    const cli::Command command{"import-mdb", "", &cli::declareImportMdb,
                               terminal ? &importWithBar : &importWithLines};
    return cli::runCommand(command, args, out, err);
}

namespace cli
{

void declareImportMdb(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral(
        "Converts a company database in Microsoft Jet format (Access 97 or 2000) into a new\n"
        "SQLite database OUT.db; an existing OUT.db is never replaced. Exit code 3: imported,\n"
        "but the result lacks tables or fields the program reads (they are listed)."));
    syntax.addArgument(QStringLiteral("FILE.mdb"), QStringLiteral("the Jet database to read"));
    syntax.addArgument(QStringLiteral("OUT.db"), QStringLiteral("the SQLite database to write"));
    syntax.addOption({QStringLiteral("charset")},
                     QStringLiteral("code page of the texts of an Access 97 file (default "
                                    "CP1250, Windows-1250); Access 2000 files store Unicode"),
                     QStringLiteral("CS"));
}

int runImportMdb(const CommandCall& call)
{
    return importWith(call, isatty(fileno(stdout)) != 0);
}

} // namespace cli

} // namespace kv
