#include "cli/PrintCommand.h"

#include "cli/CommandLine.h"

namespace kv
{

int printCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    return cli::runCommand(QStringList{QStringLiteral("print")} + args, out, err);
}

} // namespace kv
