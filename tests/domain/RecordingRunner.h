#pragma once

#include "domain/StatementRunner.h"

#include <QHash>

namespace kvtest
{

// Stands in for the engine: records every statement (lines joined by "\n")
// and answers from canned rows; unknown statements return no rows.
class RecordingRunner : public kv::StatementRunner
{
public:
    kv::PenoList peno(const QStringList& statementLines) override
    {
        const QString statement = statementLines.join(u'\n');
        statements << statement;
        return rows.value(statement);
    }

    QHash<QString, kv::PenoList> rows;
    QStringList statements;
};

} // namespace kvtest
