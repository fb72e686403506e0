#pragma once

#include <QStringList>
#include <QTextStream>

namespace kv
{

// kvelta print KIND ...: writes one of the program's reports to a PDF file
// without a window. The first word picks the report; the rest goes to it.
int printCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kv
