#include "cli/MakeDemoCommand.h"

#include "demo/DemoGenerator.h"
#include "demo/DemoHomeFolder.h"

#include <QDir>
#include <QGuiApplication>
#include <memory>

namespace kv
{

namespace
{

const char* const kUsage =
    "Usage: kvelta make-demo DIR [--firms N] [--seed S] [--force]\n"
    "  Writes a demo data home with N plausible Czech firms into DIR.\n"
    "  --firms N  number of firms, 1 to 5000000 (default 20000)\n"
    "  --seed S   random seed, a non-negative integer (default 2001); the same\n"
    "             seed and number of firms always give identical files\n"
    "  --force    DIR may be non-empty: the generated files in it are replaced\n";

int usage(QTextStream& err, const QString& problem)
{
    err << problem << "\n" << kUsage;
    err.flush();
    return 2;
}

int run(const QString& dir, const DemoGenerator::Options& options, bool force, QTextStream& out,
        QTextStream& err)
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
    QString dir;
    bool force = false;
    DemoGenerator::Options options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        QString value;
        const bool takesValue =
            a.startsWith(QLatin1String("--firms")) || a.startsWith(QLatin1String("--seed"));
        if (takesValue) {
            const qsizetype eq = a.indexOf(u'=');
            if (eq >= 0)
                value = a.mid(eq + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else
                return usage(err, QStringLiteral("%1 needs a value.").arg(a));
        }
        const QString name = a.section(u'=', 0, 0);
        bool ok = true;
        if (name == QLatin1String("--firms")) {
            const int n = value.toInt(&ok);
            if (!ok || n < 1 || n > 5000000)
                return usage(err, QStringLiteral("Bad number of firms: %1").arg(value));
            options.firms = n;
        } else if (name == QLatin1String("--seed")) {
            options.seed = value.toULongLong(&ok);
            if (!ok)
                return usage(err, QStringLiteral("Bad seed: %1").arg(value));
        } else if (a == QLatin1String("--force")) {
            force = true;
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return usage(err, QStringLiteral("Unknown option: %1").arg(a));
        } else if (dir.isEmpty()) {
            dir = a;
        } else {
            return usage(err, QStringLiteral("Only one folder may be given."));
        }
    }
    if (dir.isEmpty())
        return usage(err, QStringLiteral("The target folder is missing."));

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
    return run(dir, options, force, out, err);
}

} // namespace kv
