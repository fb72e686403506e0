#include "data/engine/DatabaseSetup.h"

namespace kv::engine {

bool finishDatabase(sqlite3*, char**) { return true; }

} // namespace kv::engine
