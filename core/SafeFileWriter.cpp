#include "core/SafeFileWriter.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv
{

namespace
{

constexpr SafeFileWriter::Io SystemIo{::write, ::fsync, ::close};
const SafeFileWriter::Io* io = &SystemIo;

constexpr int StaleSeconds = 3600;

QString reason(int error)
{
    return qt_error_string(error);
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// Writes all of bytes, going on after a short write; false with errno set.
bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        const ssize_t n = io->write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) { // no progress and no error: treat as a full device
            errno = ENOSPC;
            return false;
        }
        data += n;
        left -= size_t(n);
    }
    return true;
}

bool syncFd(int fd)
{
    // A folder on some file systems cannot be synced; that is no failure.
    return io->fsync(fd) == 0 || errno == EINVAL;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw Error::file(folder, reason(errno));
    const bool synced = syncFd(fd);
    const int error = errno;
    ::close(fd);
    if (!synced)
        throw Error::file(folder, reason(error));
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A folder among the inputs (the data home's notes) takes no output: a file
// written there would be read as one of its own.
void refuseInputFolder(const QString& path, const QString& file, const QStringList& inputs)
{
    struct stat folder {
    };
    if (::stat(native(QFileInfo(file).absolutePath()).constData(), &folder) != 0)
        return; // a missing folder is reported on writing
    for (const QString& input : inputs) {
        struct stat in {
        };
        if (!input.isEmpty() && ::stat(native(input).constData(), &in) == 0 &&
            S_ISDIR(in.st_mode) && sameFile(in, folder))
            throw Error::file(path, QStringLiteral("is in the input folder %1; it is not written")
                                        .arg(QDir::toNativeSeparators(input)));
    }
}

bool processGone(qint64 pid)
{
    return pid > 0 && pid <= INT_MAX && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

// Renames a synced draft over target, then makes the rename itself durable.
void replace(const QString& draft, const QString& target, bool sync)
{
    if (::rename(native(draft).constData(), native(target).constData()) != 0) {
        const int error = errno;
        ::unlink(native(draft).constData());
        throw Error::file(target, reason(error));
    }
    if (sync)
        syncFolder(QFileInfo(target).absolutePath());
}

} // namespace

QString SafeFileWriter::target(const QString& path, const Options& options)
{
    const QByteArray name = native(path);
    struct stat link {
    };
    if (::lstat(name.constData(), &link) != 0) {
        const int error = errno;
        if (error != ENOENT)
            throw Error::file(path, reason(error));
        refuseInputFolder(path, path, options.inputs);
        return path; // a new file; a missing folder is reported on writing
    }
    QString file = path;
    struct stat st = link;
    if (S_ISLNK(link.st_mode)) {
        if (options.links == Links::Refuse)
            throw Error::file(path,
                              QStringLiteral("is a symbolic link; it is not written through"));
        char* resolved = ::realpath(name.constData(), nullptr);
        if (!resolved || ::stat(resolved, &st) != 0) {
            const int error = errno;
            std::free(resolved);
            throw Error::file(
                path,
                QStringLiteral("is a symbolic link to a missing file (%1)").arg(reason(error)));
        }
        file = QFile::decodeName(resolved);
        std::free(resolved);
    }
    if (!S_ISREG(st.st_mode))
        throw Error::file(path, QStringLiteral("is not a regular file; it is not replaced"));
    for (const QString& input : options.inputs) {
        struct stat in {
        };
        if (!input.isEmpty() && ::stat(native(input).constData(), &in) == 0 && sameFile(in, st))
            throw Error::file(path, QStringLiteral("is the input file %1; it is not overwritten")
                                        .arg(QDir::toNativeSeparators(input)));
    }
    refuseInputFolder(path, file, options.inputs);
    return file;
}

QString SafeFileWriter::draftPath(const QString& target)
{
    const QFileInfo info(target);
    const QString name =
        QStringLiteral(".%1.kvdraft-%2-%3")
            .arg(info.fileName())
            .arg(::getpid())
            .arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    return info.dir().filePath(name);
}

int SafeFileWriter::removeStaleDrafts(const QString& folder)
{
    static const QRegularExpression pattern(QStringLiteral("^\\..*\\.kvdraft-(\\d+)-[0-9a-f]{6}$"));
    const QDir dir(folder);
    const QStringList names =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    const time_t now = std::time(nullptr);
    int removed = 0;
    for (const QString& name : names) {
        const auto match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        const QString path = dir.filePath(name);
        struct stat st {
        };
        if (::lstat(native(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        const qint64 pid = match.captured(1).toLongLong();
        const bool old = now - st.st_mtime > StaleSeconds;
        if ((old || (pid != ::getpid() && processGone(pid))) &&
            ::unlink(native(path).constData()) == 0)
            ++removed;
    }
    return removed;
}

void SafeFileWriter::commit(const QString& draft, const QString& target, bool sync)
{
    const QByteArray from = native(draft);
    if (sync) {
        const int fd = ::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) {
            const int error = errno;
            ::unlink(from.constData());
            throw Error::file(target, reason(error));
        }
        bool ok = syncFd(fd);
        int error = errno;
        if (io->close(fd) != 0 && ok) {
            ok = false;
            error = errno;
        }
        if (!ok) {
            ::unlink(from.constData());
            throw Error::file(target, reason(error));
        }
    }
    replace(draft, target, sync);
}

void SafeFileWriter::write(const QString& path, const QByteArray& bytes, const Options& options)
{
    const QString file = target(path, options);
    const QString folder = QFileInfo(file).absolutePath();
    {
        // Once per folder and run: a folder of many files written one by one
        // is not listed again for each.
        static QMutex mutex;
        static QSet<QString> cleaned;
        const QMutexLocker locker(&mutex);
        if (!cleaned.contains(folder)) {
            cleaned.insert(folder);
            removeStaleDrafts(folder);
        }
    }

    mode_t mode = 0666;
    struct stat earlier {
    };
    if (options.mode)
        mode = *options.mode;
    else if (::stat(native(file).constData(), &earlier) == 0)
        mode = earlier.st_mode & 07777;

    QString draft;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 16; ++attempt) {
        draft = draftPath(file);
        fd = ::open(native(draft).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    mode);
        if (fd < 0 && errno != EEXIST)
            throw Error::file(path, reason(errno));
    }
    if (fd < 0)
        throw Error::file(path, reason(EEXIST));
    // The umask must not narrow an earlier file's own bits or a chosen mode.
    if ((options.mode || earlier.st_ino != 0) && ::fchmod(fd, mode) != 0) {
        const int error = errno;
        io->close(fd);
        ::unlink(native(draft).constData());
        throw Error::file(path, reason(error));
    }
    bool ok = writeAll(fd, bytes) && (!options.sync || syncFd(fd));
    int error = errno;
    if (io->close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(native(draft).constData());
        throw Error::file(path, reason(error));
    }
    replace(draft, file, options.sync);
}

void SafeFileWriter::write(const QString& path, const QByteArray& bytes)
{
    write(path, bytes, Options());
}

void SafeFileWriter::syncFileSystem(const QString& folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw Error::file(folder, reason(errno));
    const bool synced = ::syncfs(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!synced)
        throw Error::file(folder, reason(error));
}

void SafeFileWriter::setIo(const Io* replacement)
{
    io = replacement ? replacement : &SystemIo;
}

} // namespace kv
