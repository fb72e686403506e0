#include "engine/KeyFirmsCache.h"

#include "engine/CacheSideFile.h"
#include "engine/RankCheckCache.h"

#include <QFile>

namespace kv::engine
{

namespace
{

// The first line of a copy; a new layout gets a new one.
const QByteArray Format = QByteArrayLiteral("kvelta key firms 1");
// A 64-bit number takes at most ten 7-bit groups.
constexpr int MaxGroups = 10;

QByteArray what(const QString& table, const QString& keyField, qint64 key, size_t firms)
{
    return table.toUtf8() + ' ' + keyField.toUtf8() + ' ' + QByteArray::number(key) + ' ' +
           QByteArray::number(quint64(firms));
}

void append(QByteArray& out, quint64 v)
{
    while (v >= 0x80) {
        out.append(char(quint8(v) | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

// The first number as it is (two's complement), then each difference to the
// one before; differences are unsigned, so any two 64-bit numbers fit.
QByteArray encode(const std::vector<qint64>& firms)
{
    QByteArray out;
    out.reserve(qsizetype(firms.size()) * 2 + 16);
    quint64 previous = 0;
    for (qint64 firm : firms) {
        append(out, quint64(firm) - previous);
        previous = quint64(firm);
    }
    return out;
}

std::optional<std::vector<qint64>> decode(QByteArrayView bytes, size_t count)
{
    std::vector<qint64> firms;
    firms.reserve(count);
    const auto* p = reinterpret_cast<const quint8*>(bytes.data());
    const auto* end = p + bytes.size();
    quint64 value = 0;
    while (p != end) {
        quint64 delta = 0;
        int shift = 0;
        for (int group = 0;; ++group) {
            if (p == end || group == MaxGroups)
                return std::nullopt;
            const quint8 b = *p++;
            delta |= quint64(b & 0x7f) << shift;
            shift += 7;
            if (!(b & 0x80))
                break;
        }
        value += delta;
        // Ascending and distinct, as the lists are used.
        if (!firms.empty() && (delta == 0 || qint64(value) <= firms.back()))
            return std::nullopt;
        if (firms.size() == count)
            return std::nullopt;
        firms.push_back(qint64(value));
    }
    if (firms.size() != count)
        return std::nullopt;
    return firms;
}

} // namespace

KeyFirmsCache::KeyFirmsCache(const QString& dbPath, const QString& table, const QString& keyField,
                             const QString& cacheDir)
    : m_dbPath(dbPath), m_cacheDir(cacheDir), m_identity(RankCheckCache::identity(dbPath)),
      m_table(table), m_keyField(keyField)
{
}

QString KeyFirmsCache::defaultDir()
{
    return RankCheckCache::defaultDir();
}

QString KeyFirmsCache::sideFilePath(const QString& dbPath, const QString& table,
                                    const QString& keyField, qint64 key, const QString& cacheDir)
{
    return CacheSideFile::path(cacheDir, QStringLiteral("keyfirms"), dbPath,
                               QStringLiteral("%1-%2-%3").arg(table, keyField).arg(key));
}

QString KeyFirmsCache::side(qint64 key) const
{
    return sideFilePath(m_dbPath, m_table, m_keyField, key, m_cacheDir);
}

std::optional<std::vector<qint64>> KeyFirmsCache::load(qint64 key) const
{
    if (m_identity.isEmpty())
        return std::nullopt;
    QFile file(side(key));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    // The count is on the third line, before the hash; it is checked with
    // the rest of the header.
    qsizetype third = -1;
    for (int line = 0; line < 3 && (line == 0 || third >= 0); ++line)
        third = bytes.indexOf('\n', third + 1);
    const qsizetype hashStart = bytes.lastIndexOf(' ', third);
    const qsizetype countStart = hashStart > 0 ? bytes.lastIndexOf(' ', hashStart - 1) : -1;
    if (third < 0 || countStart < 0)
        return std::nullopt;
    bool ok = false;
    const quint64 count = bytes.mid(countStart + 1, hashStart - countStart - 1).toULongLong(&ok);
    if (!ok || count > quint64(bytes.size()))
        return std::nullopt;
    const std::optional<QByteArrayView> content = CacheSideFile::contents(
        bytes, Format, m_identity, what(m_table, m_keyField, key, size_t(count)));
    if (!content)
        return std::nullopt;
    return decode(*content, size_t(count));
}

void KeyFirmsCache::store(qint64 key, const std::vector<qint64>& firms) const
{
    if (m_identity.isEmpty() || firms.empty())
        return;
    for (size_t i = 1; i < firms.size(); ++i)
        if (firms[i] <= firms[i - 1])
            return;
    CacheSideFile::write(side(key), Format, m_identity,
                         what(m_table, m_keyField, key, firms.size()), encode(firms));
}

} // namespace kv::engine
