#pragma once

#include "data/engine/QueryCursor.h"
#include "selection/StatementRunner.h"

namespace kv
{

// Runs the selection's statements on the company database through one
// query cursor (the window's q); the first column of each row is the peno.
class EngineStatementRunner : public StatementRunner
{
public:
    explicit EngineStatementRunner(engine::Database& db) : m_q(db) {}
    // Throws engine::EngineError when the engine rejects the statement.
    QList<int> peno(const QStringList& statementLines) override;

private:
    engine::QueryCursor m_q;
};

} // namespace kv
