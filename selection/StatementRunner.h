#pragma once

#include <QList>
#include <QStringList>

namespace kv
{

// Runs one select statement of the selection against the company database
// and returns its peno column, rows in the order the engine delivers them.
// The statement is given as its lines (the count statement has two). Errors
// of the engine are thrown to the caller.
class StatementRunner
{
public:
    virtual ~StatementRunner() = default;
    virtual QList<int> peno(const QStringList& statementLines) = 0;
};

} // namespace kv
