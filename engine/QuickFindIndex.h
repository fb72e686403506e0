#pragma once

// The quick-find index: an FTS5 table over each firm's name, IČO, street and
// town, tokenised with diacritics removed, with prefix indexes, its rows in
// the firms' name order (so the first matches are the first by name).
// Builders of a company database put it into the database; for one without
// it the program keeps a side file in its cache folder, tied to the database
// by size, modification time and a hash of its first pages, and attaches it.
// Beside it, the first rows whose name starts with each prefix of one or two
// letters or digits: such a prefix fits most firms, and the index alone would
// pass over every firm with any word of those letters to find them.

#include <QString>
#include <functional>
#include <optional>
#include <vector>

struct sqlite3;

namespace kv::engine
{

class Database;

struct QuickFindRow {
    qint64 peno = 0;
    QString ico, nazev, ulice, misto;
};

// Creates the index inside db (a builder's read-write connection), replacing
// an earlier one. Throws Error::engine.
void buildQuickFindIndex(Database& db);

class QuickFindIndex
{
public:
    static constexpr const char* Table = "kv_quickfind";
    // The first rows whose name starts with a short prefix.
    static constexpr const char* StartsTable = "kv_quickfind_start";
    static constexpr const char* SideSchema = "kvqf";
    // The longest prefix, and the most rows per prefix, kept for names.
    static constexpr int StartPrefixMax = 2;
    static constexpr int StartRows = 50;
    // done of total firms indexed so far while a side file is built.
    using Progress = std::function<void(qint64 done, qint64 total)>;

    // Makes the index of db (open read-only) usable and returns the schema
    // that holds it: "main" when the database has its own, else "kvqf", the
    // side file below cacheDir, built first when missing or made for another
    // state of the database. Throws Error::engine (and Error::file when the side
    // file cannot be written).
    static QString attach(Database& db, const QString& cacheDir, const Progress& progress = {});

    // The user's cache folder of the program (~/.cache/Lumora/KV2001), the
    // same for the desktop and the commands whatever the application name.
    static QString defaultCacheDir();
    // The side file that belongs to the database at dbPath.
    static QString sideFilePath(const QString& dbPath, const QString& cacheDir);
    // What ties a side file to its database: size, modification time and a
    // hash of the first pages.
    static QString identity(const QString& dbPath);

    // Walks the firms of a company database (SQLite) in the index's order,
    // n counting from 1 as the index numbers its rows.
    using FirmVisitor = std::function<void(qint64 n, const QuickFindRow& firm)>;
    static void forEachFirm(const Database& db, const FirmVisitor& visit);
    // The same for schema's firma on a builder's connection.
    static void forEachFirm(sqlite3* db, const QString& schema, const FirmVisitor& visit);
    // Whether schema's stored Czech ranks (kv_rank_firma) still cover every
    // row of firma, so that they give the name order.
    static bool nameRanksCover(sqlite3* db, const QString& schema);

    // For builders: the index's tables in schema, created empty (earlier
    // ones are dropped), then filled from the firms walk hands to its
    // visitor in the index's order (total of them, for progress). Throw
    // Error::engine.
    using FirmWalk = std::function<void(const FirmVisitor& visit)>;
    static void createTables(sqlite3* db, const QString& schema);
    static void fillTables(sqlite3* db, const QString& schema, const FirmWalk& walk, qint64 total,
                           const Progress& progress = {});

    // Rows of the index in schema matching an FTS5 expression, in name
    // order, at most limit of them.
    static std::vector<QuickFindRow> match(const Database& db, const QString& schema,
                                           const QString& expression, int limit);
    // The rows whose name's first word starts with prefix (lower case, one
    // or two ASCII letters or digits, as QuickFind's words are), in name
    // order, at most limit: what match() gives for "{nazev} : ^ prefix*",
    // read from the kept first rows. Nothing when they cannot answer: an
    // index made without them, another prefix, or more rows than are kept.
    static std::optional<std::vector<QuickFindRow>>
    nameStarts(const Database& db, const QString& schema, const QString& prefix, int limit);
};

} // namespace kv::engine
