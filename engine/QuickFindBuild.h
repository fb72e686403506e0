#pragma once

#include <QString>
#include <memory>

struct sqlite3;

namespace kv::engine
{

// Builds the quick-find index of a database being finished on a thread of
// its own, so that it overlaps the builder's other indexes: the firms are
// first copied, in the index's order, to a spool file beside the database,
// the thread makes the index from the spool in a side database, and
// finishInto copies its tables into the database. SQLite lets one writer at
// a time into a file, hence the side database.
class QuickFindBuild
{
public:
    // Spools the firms of db's main schema in name order (from the stored
    // Czech ranks of firma when they cover it, else through the collation)
    // and starts the thread. Throws Error::engine.
    explicit QuickFindBuild(sqlite3* db);
    // Stops the thread when finishInto was not called and removes the
    // spool and the side database.
    ~QuickFindBuild();
    QuickFindBuild(const QuickFindBuild&) = delete;
    QuickFindBuild& operator=(const QuickFindBuild&) = delete;

    // Waits for the thread and puts the index into db's main schema,
    // replacing an earlier one, in a transaction of its own. Throws
    // Error::engine with the thread's error when it failed.
    void finishInto(sqlite3* db);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace kv::engine
