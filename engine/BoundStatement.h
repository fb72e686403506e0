#pragma once

#include <QStringList>
#include <memory>
#include <vector>

namespace kv::engine
{

class Database;
class Statement;
struct Translated;

// A translated statement ready to step: its number sets loaded into
// temporary tables (the company database itself stays untouched) and its
// parameters bound. The temporary tables are dropped with the object.
class BoundStatement
{
public:
    BoundStatement(Database& db, const Translated& query);
    ~BoundStatement();
    BoundStatement(const BoundStatement&) = delete;
    BoundStatement& operator=(const BoundStatement&) = delete;

    Statement& statement() { return *m_statement; }

private:
    void dropTables();
    Database& m_db;
    QStringList m_tables;
    std::vector<std::vector<qint64>> m_numberSets; // reserved up front: bound by address
    std::unique_ptr<Statement> m_statement;
};

} // namespace kv::engine
