#pragma once

#include "domain/StatementRunner.h"

#include <optional>

namespace kv
{

namespace engine
{
class Database;
struct TableInfo;
} // namespace engine

// Runs the selection's statements on the company database; the first column
// of each row is the peno.
class EngineStatementRunner : public StatementRunner
{
public:
    explicit EngineStatementRunner(engine::Database& db) : m_db(db) {}
    // Throws Error::engine when the engine rejects the statement.
    PenoList peno(const QStringList& statementLines) override;
    // One statement over all keys of the row (held in a temporary table and
    // joined to the index), instead of one statement per key: a row of a
    // million name words would otherwise run a million statements.
    QList<PenoList> penoPerValue(const ValueIndex& index, const QList<qint64>& keys,
                                 bool stopAtEmpty) override;
    // Every list holds firms of the same index table, so the combining
    // statement selects exactly their intersection (all) or union: computed
    // here on sorted numbers instead of sending the lists to SQLite as text,
    // which costs seconds for a word that half the firms share.
    PenoList combine(const std::function<QString()>& statement, const QList<PenoList>& lists,
                     bool all) override;
    // An and-row is the walk of its keys' lists together on the (key, peno)
    // index (IndexIntersection), which reads about as many rows as the
    // shortest list holds; on a server it is one statement intersecting the
    // lists there, so that only the firms of the row come to the client.
    // Anything else goes the way of the statements.
    PenoList firmsOfRow(const ValueIndex& index, const QList<qint64>& keys, bool all,
                        const CombiningStatement& combining) override;
    // Counted by SQLite with the filter's number lists bound as numbers.
    qsizetype countFirms(const engine::Filter& filter) override;

private:
    // The and-row on a server; empty when it has too many keys for one statement.
    std::optional<PenoList> intersectOnServer(const engine::TableInfo& table,
                                              const QString& keyField, const QList<qint64>& keys);
    engine::Database& m_db;
};

} // namespace kv
