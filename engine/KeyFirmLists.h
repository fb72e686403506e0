#pragma once

// The firms of keys of one link table (slnazev_p, slobor, ...), each list
// ascending and distinct. A long list comes from a copy remembered for the
// file's very state (KeyFirmsCache) when there is one; a long list read from
// the table is remembered. Only a read-only connection to a file uses the
// copies: a writing connection may change the file under them, and a
// server's rows change without any file changing.

#include "engine/KeyFirmsCache.h"
#include "engine/Statement.h"

#include <optional>
#include <vector>

namespace kv::engine
{

class Database;

class KeyFirmLists
{
public:
    // Lists of at least this many firms are remembered: reading one from
    // the index takes some 8 ms on the 2-core machine, its copy under 1 ms.
    static constexpr size_t DefaultLongList = 100000;

    // table and keyField must be names the program knows (JetDialect::
    // knownTable / knownField); they go into the statement's text.
    KeyFirmLists(const Database& db, const QString& table, const QString& keyField,
                 size_t longList = DefaultLongList);

    std::vector<qint64> firms(qint64 key);

private:
    Statement m_st;
    std::optional<KeyFirmsCache> m_cache;
    size_t m_longList;
};

} // namespace kv::engine
