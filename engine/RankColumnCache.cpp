#include "engine/RankColumnCache.h"

#include "engine/CacheSideFile.h"
#include "engine/RankCheckCache.h"
#include "engine/RankColumn.h"

#include <QFile>
#include <cstring>

namespace kv::engine
{

namespace
{

// The first line of a copy; a new layout gets a new one.
const QByteArray Format = QByteArrayLiteral("kvelta rank column 1");

QByteArray what(const QString& table, const QString& field, qint64 rows)
{
    return table.toUtf8() + ' ' + field.toUtf8() + ' ' + QByteArray::number(rows);
}

} // namespace

RankColumnCache::RankColumnCache(const QString& dbPath, const QString& table, const QString& field,
                                 const QString& cacheDir)
    : m_side(sideFilePath(dbPath, table, field, cacheDir)),
      m_identity(RankCheckCache::identity(dbPath)), m_table(table), m_field(field)
{
}

QString RankColumnCache::defaultDir()
{
    return RankCheckCache::defaultDir();
}

QString RankColumnCache::sideFilePath(const QString& dbPath, const QString& table,
                                      const QString& field, const QString& cacheDir)
{
    return CacheSideFile::path(cacheDir, QStringLiteral("rankcolumn"), dbPath,
                               table + u'-' + field);
}

std::unique_ptr<RankColumn> RankColumnCache::load(qint64 rows) const
{
    if (m_identity.isEmpty() || rows <= 0)
        return nullptr;
    QFile file(m_side);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const qint64 size = file.size();
    const uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    if (!mapped)
        return nullptr;
    // The rowids, then their ranks, 4 bytes each.
    const std::optional<QByteArrayView> content = CacheSideFile::contents(
        QByteArrayView(mapped, size), Format, m_identity, what(m_table, m_field, rows));
    if (!content || content->size() != rows * 8)
        return nullptr;
    LargeArray<quint32> order(static_cast<size_t>(rows));
    LargeArray<qint32> ranks(static_cast<size_t>(rows));
    std::memcpy(order.data(), content->data(), size_t(rows) * 4);
    std::memcpy(ranks.data(), content->data() + rows * 4, size_t(rows) * 4);
    return RankColumn::fromOrder(std::move(order), std::move(ranks));
}

bool RankColumnCache::holds(qint64 rows) const
{
    QFile file(m_side);
    if (m_identity.isEmpty() || rows <= 0 || !file.open(QIODevice::ReadOnly))
        return false;
    const std::optional<qsizetype> header = CacheSideFile::headerSize(
        file.read(CacheSideFile::MaxHeader), Format, m_identity, what(m_table, m_field, rows));
    return header && file.size() == *header + rows * 8;
}

void RankColumnCache::store(const RankColumn& column) const
{
    if (m_identity.isEmpty() || column.size() == 0 || !column.narrow())
        return;
    const qint64 rows = qint64(column.size());
    QByteArray content(rows * 8, Qt::Uninitialized);
    for (size_t p = 0; p < column.size(); ++p) {
        const quint32 rowid = quint32(column.rowAt(p));
        const qint32 rank = column.rankAt(p);
        std::memcpy(content.data() + p * 4, &rowid, 4);
        std::memcpy(content.data() + (rows + qint64(p)) * 4, &rank, 4);
    }
    CacheSideFile::write(m_side, Format, m_identity, what(m_table, m_field, rows), content);
}

} // namespace kv::engine
