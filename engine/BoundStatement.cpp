#include "engine/BoundStatement.h"

#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/NumberSetFunction.h"
#include "engine/Statement.h"

#include <sqlite3.h>

namespace kv::engine
{

BoundStatement::BoundStatement(Database& db, const Translated& query) : m_db(db)
{
    try {
        for (const IntSet& set : query.sets) {
            if (set.param > 0)
                continue;
            m_db.exec(QStringLiteral("CREATE TEMP TABLE %1(n INTEGER PRIMARY KEY)").arg(set.table));
            m_tables << set.table;
            m_db.exec(QStringLiteral("SAVEPOINT kv_fill"));
            Statement insert(
                m_db, QStringLiteral("INSERT OR IGNORE INTO temp.%1 VALUES(?)").arg(set.table));
            for (qint64 v : set.values) {
                insert.reset();
                insert.bind(1, v);
                insert.step();
            }
            insert.reset();
            m_db.exec(QStringLiteral("RELEASE kv_fill"));
        }
        m_statement = std::make_unique<Statement>(m_db, query.sql);
        for (int i = 0; i < query.params.size(); ++i)
            m_statement->bind(i + 1, query.params[i]);
        // Own copies: the statement may outlive the translated text it came from.
        m_numberSets.reserve(query.sets.size());
        for (const IntSet& set : query.sets)
            if (set.param > 0) {
                m_numberSets.push_back(set.values);
                NumberSetFunction::bind(m_statement->handle(), set.param, m_numberSets.back());
            }
    } catch (...) {
        if (!m_db.isServer()) // the server's form has no temporary tables
            sqlite3_exec(m_db.handle(), "ROLLBACK TO kv_fill; RELEASE kv_fill", nullptr, nullptr,
                         nullptr);
        dropTables();
        throw;
    }
}

BoundStatement::~BoundStatement()
{
    dropTables();
}

void BoundStatement::dropTables()
{
    m_statement.reset(); // a running statement would keep the tables locked
    for (const QString& t : std::as_const(m_tables))
        sqlite3_exec(m_db.handle(),
                     QStringLiteral("DROP TABLE IF EXISTS temp.%1").arg(t).toUtf8().constData(),
                     nullptr, nullptr, nullptr);
    m_tables.clear();
}

} // namespace kv::engine
