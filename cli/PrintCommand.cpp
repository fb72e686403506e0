#include "cli/PrintCommand.h"

#include "cli/FirmPrintCommand.h"
#include "cli/LabelPrintCommand.h"

namespace kv
{

namespace
{

using PrintKind = int (*)(const QStringList&, QTextStream&, QTextStream&);

struct Kind {
    const char* name;
    PrintKind run;
};

const Kind kKinds[] = {
    {"list", &printListCommand},
    {"profiles", &printProfilesCommand},
    {"labels", &printLabelsCommand},
};

} // namespace

int printCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty()) {
        for (const Kind& kind : kKinds)
            if (args[0] == QLatin1String(kind.name))
                return kind.run(args.mid(1), out, err);
    }
    err << "usage: kvelta print KIND ... -o OUT.pdf, KIND one of:";
    for (const Kind& kind : kKinds)
        err << " " << kind.name;
    err << "\n";
    return 2;
}

} // namespace kv
