#pragma once

#include <QString>

namespace kv::engine
{

class Database;
class PgConnection;

// Quick find's copy of the index in a version of the directory on a server
// (read by PgQuickFind): the table kv_quickfind in the version's schema,
// one row per firm,
//
//   pos                           its place in Czech name order (the SQLite
//                                 index's rowid)
//   peno, ico, nazev, ulice, misto  what the drop-down shows
//   name_words, ico_words         the words of the name and of the IČO
//   words                         the words of name, IČO, street and town,
//                                 the fields apart by " |"
//
// Words are folded by the index's own tokenizer (lower case, no
// diacritics), not by the server's text functions, so the server finds
// exactly what the index finds; each word list starts and ends with a
// space and has one between words, so "starts a word" is LIKE '% p%'.
// GIN trigram indexes (pg_trgm) over the lists make such a LIKE fast.
class PgQuickFindTable
{
public:
    static constexpr const char* table = "kv_quickfind";

    // Whether source's firma has the fields the index holds.
    static bool sourceFits(const Database& source);
    // Makes pg_trgm usable in the database and returns the schema that
    // holds it; empty (and why in reason) when the server lacks it or this
    // role may not create it. Outside the load's transaction, as a failure
    // there would end it.
    static QString prepareExtension(PgConnection& target, QString& reason);
    // Creates and fills the table in schema (quoted) from source's firms,
    // its indexes with the operator class of pg_trgm in trgmSchema; inside
    // the load's transaction. Returns the number of firms.
    static qint64 build(const Database& source, PgConnection& target, const QString& schema,
                        const QString& trgmSchema);
};

} // namespace kv::engine
