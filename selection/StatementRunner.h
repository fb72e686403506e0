#pragma once

#include <QList>
#include <QStringList>
#include <functional>

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

    // The combining statement of one criterion row, which selects from an
    // index table the firms in all (or any) of `lists`, each the result of a
    // per-value statement on that same table. By default the statement text is
    // made and run; a runner may compute the same firms from the lists instead.
    virtual QList<int> combine(const std::function<QString()>& statement,
                               const QList<QList<int>>& lists, bool all)
    {
        Q_UNUSED(lists);
        Q_UNUSED(all);
        return peno({statement()});
    }
};

} // namespace kv
