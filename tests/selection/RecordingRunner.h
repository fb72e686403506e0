#pragma once

#include "selection/StatementRunner.h"

#include <QHash>

namespace kvtest
{

// Stands in for the engine: records every statement (lines joined by "\n")
// and answers from canned rows; unknown statements return no rows.
class RecordingRunner : public kv::StatementRunner
{
public:
    QList<int> peno(const QStringList& statementLines) override
    {
        const QString statement = statementLines.join(u'\n');
        statements << statement;
        return rows.value(statement);
    }

    QHash<QString, QList<int>> rows;
    QStringList statements;
};

} // namespace kvtest
