#pragma once

#include <QString>

struct sqlite3;

namespace kv::engine
{

// Adds the auxiliary structures the engine layer uses for speed to a company
// database that has just been filled: indexes on the link and key fields, and
// per table a "kv_rank_<table>" table holding, for every row (rid = rowid),
// the position of each text sort field in Czech order, indexed per field.
// The program opens the database read-only, so all of this must be built
// here; without it the engine still works, sorting through the collator.
// Call again after changing the data (it rebuilds everything).
// Called by whoever builds a database: the demo generator and the Jet import.
// Returns false and leaves an error text in *error when it fails; the text
// is allocated by SQLite and freed with sqlite3_free().
bool finishDatabase(sqlite3* db, char** error = nullptr);

class Database;
struct FinishOptions {
    // Also the quick-find index (buildQuickFindIndex's), made on a thread of
    // its own beside the rest; it needs the firma table with its fields.
    bool quickFind = false;
};
// The same for a builder's connection; throws Error::engine when it fails.
void finishDatabase(Database& db, const FinishOptions& options = {});

// For a builder writing a new file that is renamed into place only when
// complete: no rollback journal, no syncing, one writer, a large page cache,
// sorting for indexes in temporary files rather than memory. A crash leaves
// a broken draft, which is thrown away anyway. Call before the first table
// is created (it fixes the page size, so that the file layout does not
// depend on the machine).
void prepareBulkLoad(Database& db);

// Writes a compacted copy of the database to path (an existing file is
// replaced); the same content always gives the same bytes.
void compactInto(Database& db, const QString& path);

} // namespace kv::engine
