#include "app/Commands.h"

#include "app/Startup.h"
#include "cli/ConfigCommand.h"
#include "cli/ExportCommand.h"
#include "cli/FindCommand.h"
#include "cli/HomeCommand.h"
#include "cli/ImportMdbCommand.h"
#include "cli/ListFileCommands.h"
#include "cli/MakeDemoCommand.h"
#include "cli/PrintCommand.h"
#include "cli/SelectionFileCommands.h"
#include "ui/Application.h"

#include <QGuiApplication>
#include <QTextStream>
#include <exception>
#include <optional>

namespace kv
{

namespace
{

const char* const Usage =
    "usage: kvelta [--home DIR] [--config FILE] [--minimized] [FILE.kvv]\n"
    "                                       start the desktop program\n"
    "       kvelta --version\n"
    "       kvelta --help | -h\n"
    "       kvelta COMMAND --help           what COMMAND does and its options\n"
    "       kvelta oxo-dump FILE\n"
    "       kvelta oxo-pack --key K IN OUT\n"
    "       kvelta make-demo DIR [--firms N] [--seed S] [--force]\n"
    "       kvelta import-mdb FILE.mdb OUT.db [--charset CS]\n"
    "       kvelta home [--set DIR]\n"
    "       kvelta config [--config FILE] [--set KEY=VALUE]...\n"
    "       kvelta filter [--home DIR] FILE.kvv\n"
    "       kvelta count [--home DIR] FILE.kvv\n"
    "       kvelta find [--home DIR] TEXT [--limit N]\n"
    "       kvelta export [--home DIR] [FILE.kvv] [--items LIST] [--separator S]\n"
    "                     [--format text|csv|xlsx] -o OUT\n"
    "       kvelta print list [--home DIR] [FILE.kvv] [--items LIST] -o OUT.pdf\n"
    "       kvelta print profiles [--home DIR] [FILE.kvv] -o OUT.pdf\n"
    "       kvelta print labels [--home DIR] [FILE.kvv] [--labels FILE.kl] -o OUT.pdf\n";

void usage(QTextStream& stream)
{
    stream << Usage;
    stream.flush();
}

// Takes "OPTION VALUE" out of the arguments wherever it stands.
bool extractOption(QStringList& args, const QString& option, std::optional<QString>& value,
                   QTextStream& err)
{
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] != option)
            continue;
        if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
            err << "kvelta: " << option << " needs a value\n";
            return false;
        }
        value = args[i + 1];
        args.remove(i, 2);
        --i;
    }
    return true;
}

// Headless commands run where no desktop session set XDG_RUNTIME_DIR; Qt's
// warning about it would only clutter their output.
void quietHeadlessMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    QTextStream(stderr) << qFormatLogMessage(type, context, text) << "\n";
}

using Headless = int (*)(const QStringList&, QTextStream&, QTextStream&);

struct Subcommand {
    const char* name;
    Headless run;
    const char* help; // printed for COMMAND --help
};

const Subcommand kSubcommands[] = {
    {"oxo-dump", &oxoDump,
     "usage: kvelta oxo-dump FILE\n"
     "Prints the lines of a settings, selection or label file (.ini, .kvv, .kl),\n"
     "unpacked and converted from Windows-1250.\n"},
    {"oxo-pack", &oxoPack,
     "usage: kvelta oxo-pack --key K IN OUT\n"
     "Packs the UTF-8 text file IN into the list-file container OUT.\n"
     "  --key K     the container key, decimal or 0x hexadecimal\n"},
    {"make-demo", &makeDemoCommand,
     "usage: kvelta make-demo DIR [--firms N] [--seed S] [--force]\n"
     "Writes a demo data home with invented Czech firms into DIR.\n"
     "  --firms N   number of firms, 1 to 5000000 (default 20000)\n"
     "  --seed S    random seed; the same N and S give identical files (default 2001)\n"
     "  --force     DIR may already hold files; the generated ones are replaced\n"},
    {"home", &homeCommand,
     "usage: kvelta home [--set DIR]\n"
     "Prints the stored data home, or stores DIR as the data home.\n"
     "  --set DIR   store DIR (made absolute) as the data home of the current user\n"},
    {"filter", &filterCommand,
     "usage: kvelta filter [--home DIR] FILE.kvv\n"
     "Prints the filter the saved selection installs on the company set.\n"
     "  --home DIR  the data home for this run\n"},
    {"count", &countCommand,
     "usage: kvelta count [--home DIR] FILE.kvv\n"
     "Prints how many firms the saved selection selects.\n"
     "  --home DIR  the data home for this run\n"},
    {"find", &findCommand,
     "usage: kvelta find [--home DIR] TEXT [--limit N]\n"
     "Prints the firms whose name, ICO, street or town fit TEXT, best first, one a\n"
     "line: peno, ICO, name and town separated by tabs. Case and accents do not\n"
     "matter; each word may be the beginning of a word. Exit code 3: no firm fits.\n"
     "  --home DIR  the data home for this run\n"
     "  --limit N   at most N firms (default 50)\n"},
    {"export", &exportCommand,
     "usage: kvelta export [--home DIR] [FILE.kvv] [--items LIST] [--separator S]\n"
     "                     [--format text|csv|xlsx] -o OUT\n"
     "Writes the selected firms (at most 5000) to a text file, one firm a line.\n"
     "  --home DIR       the data home for this run\n"
     "  FILE.kvv         a saved selection (default: every firm)\n"
     "  --items LIST     comma-separated: nazev,ulice,misto,psc,okres,tel,fax,email,www,osoba\n"
     "  --separator S    semicolon, tab or any other text (default tab; csv: comma)\n"
     "  --format F       text (Windows-1250, the default), csv (UTF-8, quoted, with\n"
     "                   a header row) or xlsx (a spreadsheet workbook)\n"
     "  -o OUT           the file to write\n"},
    {"config", &configCommand,
     "usage: kvelta config [--config FILE] [--set KEY=VALUE]...\n"
     "Prints which KV2001.ini is used and its lines, or changes lines.\n"
     "  --config FILE    use FILE instead of KV2001.ini\n"
     "  --set KEY=VALUE  replace or add the line with that key\n"},
    {"import-mdb", &importMdbCommand,
     "usage: kvelta import-mdb FILE.mdb OUT.db [--charset CS]\n"
     "Converts a company database in Microsoft Jet format (Access 97 or 2000)\n"
     "into a new SQLite database OUT.db; an existing OUT.db is never replaced.\n"
     "  --charset CS     character set of Jet 3 text (default CP1250)\n"},
    {"print", &printCommand,
     "usage: kvelta print list [--home DIR] [FILE.kvv] [--items LIST] -o OUT.pdf\n"
     "       kvelta print profiles [--home DIR] [FILE.kvv] -o OUT.pdf\n"
     "       kvelta print labels [--home DIR] [FILE.kvv] [--labels FILE.kl] -o OUT.pdf\n"
     "Prints the company list, the profiles or address labels of the selected\n"
     "firms to a PDF file.\n"
     "  --home DIR       the data home for this run\n"
     "  FILE.kvv         a saved selection (default: every firm)\n"
     "  --items LIST     list lines, comma-separated: tel,fax,email,www,pozn\n"
     "  --labels FILE.kl the label settings to use (default: the built-in sheet)\n"
     "  -o OUT.pdf       the file to write\n"},
};

bool asksForHelp(const QStringList& args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

} // namespace

int runKvelta(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        out << "kvelta " << KV_VERSION << "\n";
        return 0;
    }
    if (args.size() == 1 && asksForHelp(args)) {
        usage(out);
        return 0;
    }
    if (!args.isEmpty() && !args[0].startsWith(QLatin1Char('-')) &&
        !args[0].endsWith(QLatin1String(".kvv"), Qt::CaseInsensitive)) {
        const QString word = args.takeFirst();
        for (const Subcommand& sub : kSubcommands) {
            if (word != QLatin1String(sub.name))
                continue;
            if (asksForHelp(args)) {
                out << sub.help;
                return 0;
            }
            // Headless commands draw pictures and pages, which needs fonts and
            // so a GUI application, but never a screen.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            qInstallMessageHandler(quietHeadlessMessages);
            QGuiApplication app(argc, argv);
            try {
                const int code = sub.run(args, out, err);
                out.flush();
                err.flush();
                return code;
            } catch (const std::exception& e) {
                err << "kvelta " << word << ": " << e.what() << "\n";
                return 1;
            }
        }
        err << "kvelta: unknown command '" << word << "'\n";
        usage(err);
        return 2;
    }

    std::optional<QString> home;
    std::optional<QString> config;
    if (!extractOption(args, QStringLiteral("--home"), home, err) ||
        !extractOption(args, QStringLiteral("--config"), config, err)) {
        usage(err);
        return 2;
    }
    StartupOptions options;
    options.homeOverride = home;
    options.iniPath = config.value_or(QString());
    if (args.removeAll(QStringLiteral("--minimized")) > 0)
        options.minimized = true;
    // A saved selection named on the command line opens at start.
    if (args.size() == 1 && args[0].endsWith(QLatin1String(".kvv"), Qt::CaseInsensitive))
        options.selectionFile = args.takeFirst();
    if (!args.isEmpty()) {
        err << "kvelta: unknown argument '" << args.first() << "'\n";
        usage(err);
        return 2;
    }
    Application app(argc, argv);
    try {
        return Startup(options).run();
    } catch (const std::exception& e) {
        // An error during start-up ends the program after telling the user.
        Application::showError(QString::fromUtf8(e.what()));
        return 1;
    }
}

} // namespace kv
