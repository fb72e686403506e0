#include "engine/RankColumnCache.h"

#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "engine/RankCheckCache.h"
#include "engine/RankColumn.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace kv::engine
{

namespace
{

// The first line of a copy; a new layout gets a new one.
const QByteArray Format = QByteArrayLiteral("kvelta rank column 1");
// The header's lines are short: the format, the identity, names and numbers.
constexpr qint64 MaxHeader = 4096;

// A 64-bit hash of the rows (FNV-1a over 8-byte words): fast enough to check
// every open, and a damaged byte changes it.
quint64 contentHash(const char* data, qsizetype size)
{
    quint64 h = 0xcbf29ce484222325ULL;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        h = (h ^ word) * 0x100000001b3ULL;
        h ^= h >> 29;
    }
    for (; i < size; ++i)
        h = (h ^ quint8(data[i])) * 0x100000001b3ULL;
    return h;
}

QByteArray headerOf(const QString& identity, const QString& table, const QString& field,
                    qint64 rows, quint64 hash)
{
    return Format + '\n' + identity.toUtf8() + '\n' + table.toUtf8() + ' ' + field.toUtf8() + ' ' +
           QByteArray::number(rows) + ' ' + QByteArray::number(hash, 16).rightJustified(16, '0') +
           '\n';
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
    const QByteArray key = QCryptographicHash::hash(QFileInfo(dbPath).absoluteFilePath().toUtf8(),
                                                    QCryptographicHash::Sha256)
                               .toHex()
                               .left(16);
    return QDir(cacheDir).filePath(
        QStringLiteral("rankcolumn-%1-%2-%3.bin").arg(QString::fromLatin1(key), table, field));
}

std::unique_ptr<RankColumn> RankColumnCache::load(qint64 rows) const
{
    if (m_identity.isEmpty() || rows <= 0)
        return nullptr;
    QFile file(m_side);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const qint64 payload = rows * 8; // the rowids, then their ranks, 4 bytes each
    const qint64 size = file.size();
    if (size <= payload || size - payload > MaxHeader)
        return nullptr;
    const uchar* mapped = file.map(0, size);
    if (!mapped)
        return nullptr;
    const char* data = reinterpret_cast<const char*>(mapped);
    const qint64 headerSize = size - payload;
    const QByteArray header(data, headerSize);
    // The header would be what this state writes, but for the hash.
    const QList<QByteArray> lines = header.split('\n');
    if (lines.size() != 4 || !lines.last().isEmpty())
        return nullptr;
    const QList<QByteArray> fields = lines[2].split(' ');
    if (fields.size() != 4)
        return nullptr;
    bool ok = false;
    const quint64 hash = fields[3].toULongLong(&ok, 16);
    if (!ok || header != headerOf(m_identity, m_table, m_field, rows, hash))
        return nullptr;
    const char* content = data + headerSize;
    if (contentHash(content, payload) != hash)
        return nullptr;
    LargeArray<quint32> order(static_cast<size_t>(rows));
    LargeArray<qint32> ranks(static_cast<size_t>(rows));
    std::memcpy(order.data(), content, size_t(rows) * 4);
    std::memcpy(ranks.data(), content + rows * 4, size_t(rows) * 4);
    return RankColumn::fromOrder(std::move(order), std::move(ranks));
}

void RankColumnCache::store(const RankColumn& column) const
{
    if (m_identity.isEmpty() || column.size() == 0 || !column.narrow())
        return;
    // One buffer: the header's length does not depend on the hash.
    const qint64 rows = qint64(column.size());
    const qint64 headerSize = headerOf(m_identity, m_table, m_field, rows, 0).size();
    QByteArray bytes(headerSize + rows * 8, Qt::Uninitialized);
    char* content = bytes.data() + headerSize;
    for (size_t p = 0; p < column.size(); ++p) {
        const quint32 rowid = quint32(column.rowAt(p));
        const qint32 rank = column.rankAt(p);
        std::memcpy(content + p * 4, &rowid, 4);
        std::memcpy(content + (rows + qint64(p)) * 4, &rank, 4);
    }
    const QByteArray header =
        headerOf(m_identity, m_table, m_field, rows, contentHash(content, rows * 8));
    std::memcpy(bytes.data(), header.constData(), size_t(headerSize));
    SafeFileWriter::Options options;
    options.links = SafeFileWriter::Links::Refuse;
    options.sync = false; // a lost copy only means reading the column once more
    try {
        QDir().mkpath(QFileInfo(m_side).absolutePath());
        SafeFileWriter::write(m_side, bytes, options);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
    }
}

} // namespace kv::engine
