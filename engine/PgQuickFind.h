#pragma once

#include "engine/QuickFindIndex.h"
#include "engine/QuickFindQuery.h"

#include <QString>
#include <memory>
#include <vector>

namespace kv::engine
{

class Database;
class QuickFindTokenizer;

// Quick find on a server: answers a QuickFindQuery from the version's
// kv_quickfind (PgQuickFindTable) as QuickFindIndex::match answers its
// expression(): the same firms in the same order. Each word is split and
// folded by the index's own tokenizer, as FTS5 does with a quoted string;
// a word that becomes several tokens is a phrase (adjacent words of one
// field), one that becomes none matches nothing. The phrases become LIKE
// patterns over the word lists, their text escaped (% _ \ match only
// themselves) and bound, never part of the statement; the lists' trigram
// indexes answer them.
class PgQuickFind
{
public:
    // Whether the version db reads holds the tables (a version loaded by an
    // older kvelta does not, nor does a SQLite file).
    static bool available(const Database& db);

    // db is open on a server; schema: the version that holds the tables.
    PgQuickFind(const Database& db, const QString& schema);
    ~PgQuickFind();
    PgQuickFind(const PgQuickFind&) = delete;
    PgQuickFind& operator=(const PgQuickFind&) = delete;

    // At most limit rows in name order. Throws Error::engine.
    std::vector<QuickFindRow> match(const QuickFindQuery& query, int limit) const;

private:
    const Database& m_db;
    QString m_schema;
    std::unique_ptr<QuickFindTokenizer> m_tokenizer;
};

} // namespace kv::engine
