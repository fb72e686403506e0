// Copies the engine keeps in the cache folder (a key's firm list, a rank
// column): any bytes where a copy is expected, and any contents behind a
// header that matches. A copy is either refused or gives what the readers
// rely on: a list ascending and distinct of the counted length, a column of
// the asked length whose places and rows agree.

#include "FuzzSupport.h"
#include "engine/CacheSideFile.h"
#include "engine/KeyFirmsCache.h"
#include "engine/RankCheckCache.h"
#include "engine/RankColumn.h"
#include "engine/RankColumnCache.h"

#include <cstring>

using namespace kv::engine;

namespace
{

QString g_db;
QString g_cache;

void writeRaw(const QString& path, const uint8_t* data, size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        kvfuzz::fail("cannot write the copy");
}

void checkList(const std::optional<std::vector<qint64>>& list, quint64 count)
{
    if (!list)
        return;
    if (list->size() != count)
        kvfuzz::fail("a list of another length than counted");
    for (size_t i = 1; i < list->size(); ++i)
        if ((*list)[i] <= (*list)[i - 1])
            kvfuzz::fail("a list not ascending and distinct");
}

void checkColumn(const std::unique_ptr<RankColumn>& column, qint64 rows)
{
    if (!column)
        return;
    if (qint64(column->size()) != rows)
        kvfuzz::fail("a column of another length than asked");
    for (size_t p = 0; p < column->size(); ++p)
        if (column->place(column->rowAt(p)) != qint64(p))
            kvfuzz::fail("a row's place is not where the column holds it");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kvfuzz::initApp(argc, argv);
    g_db = kvfuzz::scratchDir().filePath(QStringLiteral("KV2001.db"));
    g_cache = kvfuzz::scratchDir().filePath(QStringLiteral("cache"));
    QFile db(g_db);
    if (!db.open(QIODevice::WriteOnly) || db.write("SQLite format 3") != 15)
        kvfuzz::fail("cannot write the database stand-in");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString identity = RankCheckCache::identity(g_db);
    const KeyFirmsCache lists(g_db, QStringLiteral("slnazev_p"), QStringLiteral("id"), g_cache);
    const QString listSide = KeyFirmsCache::sideFilePath(g_db, QStringLiteral("slnazev_p"),
                                                         QStringLiteral("id"), 1, g_cache);
    const RankColumnCache columns(g_db, QStringLiteral("firma"), QStringLiteral("nazev"), g_cache);
    const QString columnSide = RankColumnCache::sideFilePath(g_db, QStringLiteral("firma"),
                                                             QStringLiteral("nazev"), g_cache);
    QDir().mkpath(g_cache);

    // The bytes as the whole copy.
    writeRaw(listSide, data, size);
    (void)lists.load(1);
    writeRaw(columnSide, data, size);
    (void)columns.load(qint64(size / 8));

    // The bytes as contents behind the header this state writes; the first
    // byte gives the count or the rows.
    if (size == 0)
        return 0;
    const quint64 count = data[0];
    const QByteArrayView contents(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    CacheSideFile::write(listSide, QByteArrayLiteral("kvelta key firms 1"), identity,
                         QByteArrayLiteral("slnazev_p id 1 ") + QByteArray::number(count),
                         contents);
    checkList(lists.load(1), count);
    const qint64 rows = qint64(contents.size() / 8);
    CacheSideFile::write(columnSide, QByteArrayLiteral("kvelta rank column 1"), identity,
                         QByteArrayLiteral("firma nazev ") + QByteArray::number(rows), contents);
    checkColumn(columns.load(rows), rows);
    return 0;
}
