#include "cli/HomeCommand.h"

#include "cli/CommandCall.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "core/Config.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kv
{

int homeCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("home")} + args, out, err);
}

namespace cli
{

void declareHome(CommandSyntax& syntax)
{
    syntax.describe(QStringLiteral("Prints the stored data home, or stores DIR as the data home."));
    syntax.addOption(
        {QStringLiteral("set")},
        QStringLiteral("store DIR (made absolute) as the data home of the current user"),
        QStringLiteral("DIR"));
}

int runHome(const CommandCall& call)
{
    if (!call.isSet(QStringLiteral("set"))) {
        const QString home = settingsHome();
        if (!home.isEmpty())
            call.out() << home << "\n";
        return 0;
    }
    const QString given = call.value(QStringLiteral("set"));
    const QFileInfo dir(given);
    if (!dir.isDir()) {
        call.err() << "kvelta home: " << given << " is not a folder\n";
        return 1;
    }
    QSettings user(QSettings::UserScope, QStringLiteral("Lumora"), QStringLiteral("KV2001"));
    user.setValue(QStringLiteral("Home"), dir.absoluteFilePath());
    user.sync();
    if (user.status() != QSettings::NoError) {
        call.err() << "kvelta home: cannot write the setting " << user.fileName() << "\n";
        return 1;
    }
    return 0;
}

} // namespace cli

} // namespace kv
