#pragma once

#include "selection/StatementRunner.h"

namespace kv
{

namespace engine
{
class Database;
}

// Runs the selection's statements on the company database; the first column
// of each row is the peno.
class EngineStatementRunner : public StatementRunner
{
public:
    explicit EngineStatementRunner(engine::Database& db) : m_db(db) {}
    // Throws engine::EngineError when the engine rejects the statement.
    QList<int> peno(const QStringList& statementLines) override;
    // Every list holds firms of the same index table, so the combining
    // statement selects exactly their intersection (all) or union: computed
    // here on sorted numbers instead of sending the lists to SQLite as text,
    // which costs seconds for a word that half the firms share.
    QList<int> combine(const std::function<QString()>& statement, const QList<QList<int>>& lists,
                       bool all) override;

private:
    engine::Database& m_db;
};

} // namespace kv
