#pragma once

namespace kv::engine
{

class Database;

// One write transaction (RAII): begun by the constructor, rolled back by the
// destructor unless commit() was called, so that an exception leaves the
// database as it was.
class Transaction
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    bool m_open = true;
};

} // namespace kv::engine
