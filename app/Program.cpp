#include "app/Program.h"

#include "app/Startup.h"
#include "app/StartupTiming.h"
#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "cli/CommandTable.h"
#include "ui/Application.h"

#include <QTextStream>
#include <exception>
#include <optional>

namespace kv
{

namespace
{

using cli::CommandSyntax;

void declareDesktop(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral("start the desktop program"));
    syntax.addOption({QStringLiteral("home")}, QStringLiteral("the data home for this run"),
                     QStringLiteral("DIR"));
    syntax.addOption({QStringLiteral("db")},
                     QStringLiteral("the server with the company data for this run (a libpq "
                                    "connection string)"),
                     QStringLiteral("URL"));
    syntax.addOption({QStringLiteral("config")},
                     QStringLiteral("the settings file to use instead of KV2001.ini"),
                     QStringLiteral("FILE"));
    syntax.addOption({QStringLiteral("minimized")},
                     QStringLiteral("start with the main window minimised"));
    syntax.addArgument(QStringLiteral("FILE.kvv"), QStringLiteral("a saved selection to open"),
                       CommandSyntax::Need::Optional);
}

// The desktop program's options; nothing after saying why not on err.
std::optional<StartupOptions> desktopOptions(const QStringList& args, QTextStream& err)
{
    const cli::Command desktop{"", "", &declareDesktop, nullptr};
    QTextStream out(stdout);
    cli::CommandCall call(desktop, out, err);
    QString problem;
    // --help is for the command line as a whole, and only alone.
    if (call.parse(args) != cli::CommandCall::Outcome::Run)
        problem =
            call.error().isEmpty() ? QStringLiteral("unknown argument '--help'") : call.error();
    for (const QString& option :
         {QStringLiteral("home"), QStringLiteral("db"), QStringLiteral("config")})
        if (problem.isEmpty() && call.isSet(option) && call.value(option).isEmpty())
            problem = QStringLiteral("--%1 needs a value").arg(option);
    const QString selection = call.positional().value(0);
    if (problem.isEmpty() && !selection.isEmpty() &&
        !selection.endsWith(QLatin1String(".kvv"), Qt::CaseInsensitive))
        problem = QStringLiteral("unknown argument '%1'").arg(selection);
    if (!problem.isEmpty()) {
        err << "kvelta: " << problem << "\n";
        return std::nullopt;
    }
    StartupOptions options;
    if (call.isSet(QStringLiteral("home")))
        options.homeOverride = call.value(QStringLiteral("home"));
    if (call.isSet(QStringLiteral("db")))
        options.databaseOverride = call.value(QStringLiteral("db"));
    options.iniPath = call.value(QStringLiteral("config"));
    options.minimized = call.isSet(QStringLiteral("minimized"));
    options.selectionFile = selection;
    return options;
}

} // namespace

int runProgram(int argc, char** argv)
{
    StartupTiming::begin();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    CommandSyntax desktop;
    declareDesktop(desktop);
    if (cli::isCommandLine(args))
        return cli::run(argc, argv, desktop);

    QTextStream err(stderr);
    const std::optional<StartupOptions> options = desktopOptions(args, err);
    if (!options) {
        cli::printOverview(err, desktop);
        return 2;
    }
    Application app(argc, argv);
    try {
        return Startup(*options).run();
    } catch (const std::exception& e) {
        // An error during start-up ends the program after telling the user.
        Application::showError(QString::fromUtf8(e.what()));
        return 1;
    }
}

} // namespace kv
