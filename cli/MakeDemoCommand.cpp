#include "cli/MakeDemoCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "demo/DemoGenerator.h"
#include "demo/DemoHomeFolder.h"

#include <QDir>
#include <QGuiApplication>
#include <memory>

namespace kv
{

namespace
{

int writeHome(const QString& dir, const DemoGenerator::Options& options, bool force,
              QTextStream& out, QTextStream& err)
{
    QString error;
    if (!DemoHomeFolder::prepare(dir, force, &error)) {
        err << error << "\n";
        err.flush();
        return 1;
    }
    DemoGenerator generator(options);
    if (!generator.generate(dir)) {
        err << generator.error() << "\n";
        err.flush();
        return 1;
    }
    out << "Demo data home written to " << QDir::toNativeSeparators(dir) << " (" << options.firms
        << " firms).\n";
    out.flush();
    return 0;
}

} // namespace

int makeDemoCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("make-demo")} + args, out, err);
}

namespace cli
{

void declareMakeDemo(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral("Writes a demo data home with invented Czech firms into DIR."));
    syntax.addArgument(QStringLiteral("DIR"), QStringLiteral("the folder to write"));
    syntax.addOption({QStringLiteral("firms")},
                     QStringLiteral("number of firms, 1 to 5000000 (default 20000)"),
                     QStringLiteral("N"));
    syntax.addOption({QStringLiteral("seed")},
                     QStringLiteral("random seed, a non-negative integer; the same N and S give "
                                    "identical files (default 2001)"),
                     QStringLiteral("S"));
    syntax.addOption({QStringLiteral("force")},
                     QStringLiteral("DIR may already hold files; the generated ones are replaced"));
}

int runMakeDemo(const CommandCall& call)
{
    QTextStream& out = call.out();
    QTextStream& err = call.err();
    const QString dir = call.positional().at(0);
    const bool force = call.isSet(QStringLiteral("force"));
    DemoGenerator::Options options;
    bool ok = true;
    if (call.isSet(QStringLiteral("firms"))) {
        const QString value = call.value(QStringLiteral("firms"));
        const int n = value.toInt(&ok);
        if (!ok || n < 1 || n > 5000000)
            return call.usageError(QStringLiteral("bad number of firms: %1").arg(value));
        options.firms = n;
    }
    if (call.isSet(QStringLiteral("seed"))) {
        const QString value = call.value(QStringLiteral("seed"));
        options.seed = value.toULongLong(&ok);
        if (!ok)
            return call.usageError(QStringLiteral("bad seed: %1").arg(value));
    }

    options.progress = [&out](const QString& stage, qint64 done, qint64 total) {
        out << stage << ": " << done << " / " << total << "\n";
        out.flush();
    };

    // Text on pictures needs the font database of a GUI application.
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kvelta";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        err << "make-demo needs a graphical application object to draw pictures.\n";
        err.flush();
        return 1;
    }
    return writeHome(dir, options, force, out, err);
}

} // namespace cli

} // namespace kv
