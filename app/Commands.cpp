#include "app/Commands.h"

#include "app/Application.h"
#include "app/HomeCommand.h"
#include "app/PrintCli.h"
#include "app/Startup.h"
#include "app/core/ConfigCommand.h"
#include "app/core/OxoCommands.h"
#include "data/import/ImportMdbCommand.h"
#include "selection/ExportCli.h"
#include "selection/SelectionCli.h"
#include "tools/demo/MakeDemoCommand.h"

#include <QGuiApplication>
#include <QTextStream>
#include <exception>
#include <optional>

namespace kv
{

namespace
{

void usage(QTextStream& err)
{
    err << "usage: kvelta [--home DIR] [--config FILE] [--minimized] [FILE.kvv]\n"
           "                                       start the desktop program\n"
           "       kvelta --version\n"
           "       kvelta oxo-dump FILE\n"
           "       kvelta oxo-pack --key K IN OUT\n"
           "       kvelta make-demo DIR [--firms N] [--seed S] [--force]\n"
           "       kvelta import-mdb FILE.mdb OUT.db [--charset CS]\n"
           "       kvelta home [--set DIR]\n"
           "       kvelta config [--config FILE] [--set KEY=VALUE]...\n"
           "       kvelta filter [--home DIR] FILE.kvv\n"
           "       kvelta count [--home DIR] FILE.kvv\n"
           "       kvelta export [--home DIR] [FILE.kvv] [--items LIST] [--separator S] -o OUT\n"
           "       kvelta print list [--home DIR] [FILE.kvv] [--items LIST] -o OUT.pdf\n"
           "       kvelta print profiles [--home DIR] [FILE.kvv] -o OUT.pdf\n"
           "       kvelta print labels [--home DIR] [FILE.kvv] [--labels FILE.kl] -o OUT.pdf\n";
    err.flush();
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
};

const Subcommand kSubcommands[] = {
    {"oxo-dump", &oxoDump},
    {"oxo-pack", &oxoPack},
    {"make-demo", &makeDemoCommand},
    {"home", &homeCommand},
    {"filter", &filterCommand},
    {"count", &countCommand},
    {"export", &exportCommand},
    {"config", &configCommand},
    {"import-mdb", &importMdbCommand},
    {"print", &printCommand},
};

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
    if (!args.isEmpty() && !args[0].startsWith(QLatin1Char('-')) &&
        !args[0].endsWith(QLatin1String(".kvv"), Qt::CaseInsensitive)) {
        const QString word = args.takeFirst();
        for (const Subcommand& sub : kSubcommands) {
            if (word != QLatin1String(sub.name))
                continue;
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
