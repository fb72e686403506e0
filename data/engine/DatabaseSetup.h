#pragma once

struct sqlite3;

namespace kv::engine {

// Adds the auxiliary structures the engine layer uses for speed (collation
// keys, indexes) to a company database that has just been filled. Called by
// whoever builds a database: the demo generator and the Jet import.
// Returns false and leaves an error text in *error when it fails.
bool finishDatabase(sqlite3* db, char** error = nullptr);

} // namespace kv::engine
