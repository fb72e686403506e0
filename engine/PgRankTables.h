#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QtGlobal>
#include <utility>
#include <vector>

namespace kv::engine
{

class Database;
class PgConnection;

// The Czech ranks of a directory on a server. The load copies the data
// home's rank tables (made by finishDatabase and checked against their
// tables when the file opened) into the new version, and lists in
// kv_ranked each ranked table with its row id field and its number of
// rows. A reader then sorts by the same integer ranks as on the file,
// instead of having the server sort texts with the ICU collation at every
// run, and turns a long list of company numbers into rows without a
// statement at all (KeySetFilter).
//
// A whole column is what a large set's sort reads, once per field and
// session: the load also stores each column in (rank, rowid) order packed
// into kv_rank_order, chunks of little-endian 64-bit rowids and 32-bit
// ranks, so that reading millions of rows costs a few large values rather
// than a row each (seconds at millions of firms).
class PgRankTables
{
public:
    static constexpr const char* catalogTable = "kv_ranked";
    static constexpr const char* orderTable = "kv_rank_order";
    static constexpr int ChunkRows = 65536; // rows per packed chunk

    struct Catalog {
        QHash<QString, QSet<QString>> fields; // table -> its ranked fields
        QHash<QString, qint64> rows;          // table -> its ranked rows
        QHash<QString, QString> rowidFields;  // table -> the field that is its row id
    };

    // Copies every rank table the source trusts into schema (an identifier
    // already quoted for the target), checking that each holds as many rows
    // as the table just copied (tableRows); returns how many were copied.
    static int copy(const Database& source, PgConnection& target, const QString& schema,
                    const QHash<QString, qint64>& tableRows);
    // What the server's current version holds; empty for a version loaded
    // without ranks.
    static Catalog read(const Database& db);
    // Every (rank, rowid) of a field, in that order, from the packed column.
    // Throws Error::engine when it is missing, damaged, out of order or does
    // not hold the rows the catalogue promises.
    static std::vector<std::pair<qint32, qint64>> column(const Database& db, const QString& table,
                                                         const QString& field);
    // The ranks of some rows, one statement for all: for each rowid the
    // rank of each field, 0 for a row the table lacks (as RankColumn::rank).
    static QHash<qint64, std::vector<qint64>> ranksOf(const Database& db, const QString& table,
                                                      const QStringList& fields,
                                                      const std::vector<qint64>& rowids);
};

} // namespace kv::engine
