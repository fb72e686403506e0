#include "cli/HomeCommand.h"

#include "core/Config.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kv
{

int homeCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        const QString home = settingsHome();
        if (!home.isEmpty())
            out << home << "\n";
        return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("--set")) {
        const QFileInfo dir(args[1]);
        if (!dir.isDir()) {
            err << "kvelta home: " << args[1] << " is not a folder\n";
            return 1;
        }
        QSettings user(QSettings::UserScope, QStringLiteral("Lumora"), QStringLiteral("KV2001"));
        user.setValue(QStringLiteral("Home"), dir.absoluteFilePath());
        user.sync();
        if (user.status() != QSettings::NoError) {
            err << "kvelta home: cannot write the setting " << user.fileName() << "\n";
            return 1;
        }
        return 0;
    }
    err << "usage: kvelta home [--set DIR]\n";
    return 2;
}

} // namespace kv
