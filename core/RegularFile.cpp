#include "core/RegularFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kv
{

bool RegularFile::exists(const QString& path)
{
    struct stat st {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RegularFile::read(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {
    };
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        bytes.reserve(qsizetype(st.st_size));
        char block[65536];
        for (;;) {
            const ssize_t n = ::read(fd, block, sizeof block);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            bytes.append(block, n);
        }
    }
    ::close(fd);
    if (!ok)
        bytes.clear();
    return ok;
}

} // namespace kv
