#pragma once

// The layout shared by the copies the engine remembers in the user's cache
// folder for one state of a database file (RankColumnCache, KeyFirmsCache):
//   line 1: the copy's format;
//   line 2: the file's identity (RankCheckCache::identity);
//   line 3: what the copy holds, then a 64-bit hash of the contents in hex;
// then the contents. A copy is taken only when all three lines are what the
// reader would write for the same contents and the hash agrees.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace kv::engine::CacheSideFile
{

// The header's lines are short: the format, the identity, names and numbers.
constexpr qsizetype MaxHeader = 4096;

// What names the side files of one database: 16 hex digits of a hash of
// its absolute path.
QString databaseKey(const QString& dbPath);

// <cacheDir>/<kind>-<databaseKey>-<name>.bin
QString path(const QString& cacheDir, const QString& kind, const QString& dbPath,
             const QString& name);

// A hash (FNV-1a over 8-byte words, mixed): fast enough to check on every
// load, and a damaged byte changes it.
quint64 contentHash(const char* data, qsizetype size);

QByteArray header(const QByteArray& format, const QString& identity, const QByteArray& what,
                  quint64 hash);

// The length of the header when the file begins with the one this state
// writes (the hash in it is not checked against the contents).
std::optional<qsizetype> headerSize(QByteArrayView file, const QByteArray& format,
                                    const QString& identity, const QByteArray& what);

// The contents of a copy whose header matches and whose hash agrees.
std::optional<QByteArrayView> contents(QByteArrayView file, const QByteArray& format,
                                       const QString& identity, const QByteArray& what);

// header + contents, written through the safe writer without the flush to
// the disk (a lost copy only means reading the table once more) and never
// through a link. A copy that cannot be written is left out silently.
void write(const QString& path, const QByteArray& format, const QString& identity,
           const QByteArray& what, QByteArrayView contents);

} // namespace kv::engine::CacheSideFile
