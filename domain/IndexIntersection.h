#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace kv
{

namespace engine
{
class Database;
}

// The firms an index table (slnazev_p, pzatrid, ...) lists under every one of
// several keys, found by walking the keys' firm lists in peno order together
// on the (key, peno) index and seeking past the firms one list lacks (a
// leapfrog join): the cost follows the shortest list, not the longest, so
// a rare word beside one that half the firms share reads a few of the
// common word's rows instead of all of them.
class IndexIntersection
{
public:
    // Distinct keys walked at once, each with a statement of its own; a row
    // with more (a selection file may hold thousands) is left to the caller,
    // as is a table without a (key, peno) index or a database on a server,
    // where a statement's rows arrive all at once.
    static constexpr int MaxKeys = 32;

    // The firms in ascending order, or nothing when the walk does not apply.
    // `table` and `keyField` must be names the dialect knows.
    static std::optional<std::vector<qint64>> firms(const engine::Database& db,
                                                    const QString& table, const QString& keyField,
                                                    const QList<qint64>& keys);

    // Whether `table` has an index whose first columns are (keyField, peno).
    static bool hasKeyPenoIndex(const engine::Database& db, const QString& table,
                                const QString& keyField);
};

} // namespace kv
