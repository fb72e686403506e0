#include "cli/ImportMdbCommand.h"

#include "cli/ImportProgressPrinter.h"
#include "jetimport/JetImport.h"

#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace kv
{

namespace
{

const char* const kUsage =
    "Usage: kvelta import-mdb FILE.mdb OUT.db [--charset CS]\n"
    "  Copies every table of a Microsoft Jet database (Access 97 or 2000) into\n"
    "  a new SQLite database OUT.db, which must not exist yet.\n"
    "  --charset CS  code page of the texts of an Access 97 file (default\n"
    "                CP1250, Windows-1250); Access 2000 files store Unicode\n"
    "  Exit code 3: imported, but the result lacks tables or fields the program\n"
    "  reads (they are listed).\n";

int usage(QTextStream& err, const QString& problem)
{
    err << "kvelta import-mdb: " << problem << "\n" << kUsage;
    err.flush();
    return 2;
}

} // namespace

int importMdbCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return importMdb(args, out, err, isatty(fileno(stdout)) != 0);
}

int importMdb(const QStringList& args, QTextStream& out, QTextStream& err, bool terminal)
{
    jet::JetImport::Options options;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--charset")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                return usage(err, QStringLiteral("--charset needs a value"));
            options.charset = args[++i];
        } else if (args[i].startsWith(QLatin1String("--"))) {
            return usage(err, QStringLiteral("unknown option %1").arg(args[i]));
        } else {
            files << args[i];
        }
    }
    if (files.size() != 2)
        return usage(err, QStringLiteral("needs FILE.mdb and OUT.db"));

    jet::JetImport import(options);
    jet::ImportProgressPrinter printer(out, terminal);
    import.setProgress([&printer](int done, int total, const QString& table, qint64 rows) {
        printer.update(done, total, table, rows);
});
if (!import.run(files[0], files[1])) {
    out.flush();
    err << "kvelta import-mdb: " << import.error() << "\n";
    err.flush();
    return 1;
}
out << QStringLiteral("Imported %1 tables with %2 rows from %3 (%4) into %5.\n")
           .arg(import.tableCount())
           .arg(import.rowCount())
           .arg(files[0], import.version(), files[1]);
const int code = import.gaps().isEmpty() ? 0 : 3;
if (code == 3)
    out << "Not a complete company database; the program will refuse it. "
        << import.gaps().describe() << "\n";
out.flush();
return code;
} // namespace kv

} // namespace kv
