#include "engine/RankCheckCache.h"

#include "core/Error.h"
#include "core/SafeFileWriter.h"
#include "engine/CacheSideFile.h"
#include "engine/QuickFindIndex.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <sys/stat.h>

namespace kv::engine
{

namespace
{

// The first line of a side file; a new layout or a changed check gets a
// new one, so older files are ignored.
const QString Format = QStringLiteral("kvelta rank check 1");
// The header and the schema pages; SQLite counts every committed change in
// the header (outside write-ahead logging, which identity() leaves out).
constexpr qint64 HashedBytes = 64 * 1024;

// A file beside the database that may hold changes the database file does
// not show yet.
bool holdsChanges(const QString& path)
{
    struct stat st {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && st.st_size > 0;
}

qint64 nanoseconds(const timespec& t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

RankCheckCache::RankCheckCache(const QString& dbPath, const QString& cacheDir)
    : m_side(sideFilePath(dbPath, cacheDir)), m_identity(identity(dbPath))
{
}

QString RankCheckCache::identity(const QString& dbPath)
{
    if (holdsChanges(dbPath + QStringLiteral("-wal")) ||
        holdsChanges(dbPath + QStringLiteral("-journal")))
        return QString();
    QFile file(dbPath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    struct stat st {
    };
    if (::fstat(file.handle(), &st) != 0)
        return QString();
    const QByteArray head = file.read(HashedBytes);
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(qulonglong(st.st_dev))
        .arg(qulonglong(st.st_ino))
        .arg(qint64(st.st_size))
        .arg(nanoseconds(st.st_mtim))
        .arg(nanoseconds(st.st_ctim))
        .arg(QString::fromLatin1(
            QCryptographicHash::hash(head, QCryptographicHash::Sha256).toHex()));
}

QString RankCheckCache::defaultDir()
{
    return QuickFindIndex::defaultCacheDir();
}

QString RankCheckCache::sideFilePath(const QString& dbPath, const QString& cacheDir)
{
    return QDir(cacheDir).filePath(
        QStringLiteral("rankcheck-%1.txt").arg(CacheSideFile::databaseKey(dbPath)));
}

std::optional<RankCheckCache::Result> RankCheckCache::load() const
{
    if (m_identity.isEmpty())
        return std::nullopt;
    QFile file(m_side);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    if (in.readLine() != Format || in.readLine() != m_identity)
        return std::nullopt;
    Result result;
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(u' ');
        if (f.size() != 9)
            return std::nullopt;
        qint64 n[8];
        for (int i = 0; i < 8; ++i) {
            bool ok = false;
            n[i] = f[i + 1].toLongLong(&ok);
            if (!ok)
                return std::nullopt;
        }
        result[f[0]] = {{n[0], n[1], n[2], n[3]}, {n[4], n[5], n[6], n[7]}};
    }
    return result;
}

void RankCheckCache::store(const Result& result) const
{
    if (m_identity.isEmpty())
        return;
    QString text = Format + u'\n' + m_identity + u'\n';
    for (const auto& [table, check] : result) {
        QStringList f{table};
        for (const RowKeys& k : {check.table, check.ranked})
            f << QString::number(k.count) << QString::number(k.min) << QString::number(k.max)
              << QString::number(k.sum);
        text += f.join(u' ') + u'\n';
    }
    SafeFileWriter::Options options;
    options.links = SafeFileWriter::Links::Refuse;
    options.sync = false; // a lost file only means checking once more
    try {
        QDir().mkpath(QFileInfo(m_side).absolutePath());
        SafeFileWriter::write(m_side, text.toUtf8(), options);
    } catch (const Error& e) {
        if (!e.is(Error::Kind::File))
            throw;
    }
}

} // namespace kv::engine
