#pragma once

namespace kv::engine
{

class Database;

// A read transaction (RAII) around a run of many statements: the file is
// locked and checked for changes once instead of at every statement (an
// export of 5,000 firms runs tens of thousands). Inside a transaction that
// is already open it does nothing.
class ReadTransaction
{
public:
    explicit ReadTransaction(const Database& db);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    const Database& m_db;
    bool m_began = false;
};

} // namespace kv::engine
