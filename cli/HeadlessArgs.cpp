#include "cli/HeadlessArgs.h"

#include "core/Config.h"
#include "core/Settings.h"

namespace kv
{

std::optional<HeadlessArgs> HeadlessArgs::parse(const QString& command, const QStringList& args,
                                                const QStringList& valueOptions,
                                                const QString& usage, QTextStream& err)
{
    HeadlessArgs call;
    QStringList rest;
    bool haveOutput = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool takesValue =
            a == QLatin1String("--home") || a == QLatin1String("-o") || valueOptions.contains(a);
        if (takesValue && i + 1 >= args.size()) {
            err << "kvelta " << command << ": " << a << " needs a value\n" << usage;
            return std::nullopt;
        }
        if (a == QLatin1String("--home")) {
            call.home = args[++i];
        } else if (a == QLatin1String("-o")) {
            call.output = args[++i];
            haveOutput = true;
        } else if (takesValue) {
            call.options.insert(a, args[++i]);
        } else {
            rest << a;
        }
    }
    if (!haveOutput || call.output.isEmpty() || rest.size() > 1 ||
        (rest.size() == 1 && rest[0].startsWith(QLatin1Char('-')))) {
        err << usage;
        return std::nullopt;
    }
    if (!rest.isEmpty())
        call.selection = rest[0];
    if (call.home.isEmpty())
        call.home = settings().dataHome;
    if (call.home.isEmpty())
        call.home = settingsHome();
    return call;
}

} // namespace kv
