#include "engine/CacheSideFile.h"

#include "core/Error.h"
#include "core/SafeFileWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace kv::engine::CacheSideFile
{

QString databaseKey(const QString& dbPath)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QFileInfo(dbPath).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16));
}

QString path(const QString& cacheDir, const QString& kind, const QString& dbPath,
             const QString& name)
{
    return QDir(cacheDir).filePath(
        QStringLiteral("%1-%2-%3.bin").arg(kind, databaseKey(dbPath), name));
}

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

QByteArray header(const QByteArray& format, const QString& identity, const QByteArray& what,
                  quint64 hash)
{
    return format + '\n' + identity.toUtf8() + '\n' + what + ' ' +
           QByteArray::number(hash, 16).rightJustified(16, '0') + '\n';
}

std::optional<qsizetype> headerSize(QByteArrayView file, const QByteArray& format,
                                    const QString& identity, const QByteArray& what)
{
    if (identity.isEmpty())
        return std::nullopt;
    const QByteArrayView head = file.first(std::min(file.size(), MaxHeader));
    qsizetype end = -1;
    for (int line = 0; line < 3; ++line) {
        end = head.indexOf('\n', end + 1);
        if (end < 0)
            return std::nullopt;
    }
    const qsizetype space = head.lastIndexOf(' ', end);
    if (space < 0 || end - space != 17)
        return std::nullopt;
    bool ok = false;
    const quint64 hash = head.sliced(space + 1, 16).toULongLong(&ok, 16);
    if (!ok || head.first(end + 1) != header(format, identity, what, hash))
        return std::nullopt;
    return end + 1;
}

std::optional<QByteArrayView> contents(QByteArrayView file, const QByteArray& format,
                                       const QString& identity, const QByteArray& what)
{
    const std::optional<qsizetype> size = headerSize(file, format, identity, what);
    if (!size)
        return std::nullopt;
    const QByteArrayView head = file.first(*size);
    const quint64 hash = head.sliced(*size - 17, 16).toULongLong(nullptr, 16);
    const QByteArrayView body = file.sliced(*size);
    if (contentHash(body.data(), body.size()) != hash)
        return std::nullopt;
    return body;
}

void write(const QString& path, const QByteArray& format, const QString& identity,
           const QByteArray& what, QByteArrayView contents)
{
    if (identity.isEmpty())
        return;
    QByteArray bytes =
        header(format, identity, what, contentHash(contents.data(), contents.size()));
    bytes.append(contents);
    SafeFileWriter::Options options;
    options.links = SafeFileWriter::Links::Refuse;
    options.sync = false;
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        SafeFileWriter::write(path, bytes, options);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
    }
}

} // namespace kv::engine::CacheSideFile
