#include "core/FileLock.h"

#include "core/Error.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kv
{

FileLock::FileLock(const QString& file) : m_file(file) {}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // drops the lock
}

void FileLock::acquire(int timeoutMs)
{
    const QString path = m_file + QStringLiteral(".lock");
    if (m_fd < 0) {
        m_fd = ::open(QFile::encodeName(path).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_fd < 0)
            throw Error::file(path, qt_error_string(errno));
    }
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            return;
        if (errno != EWOULDBLOCK && errno != EINTR)
            throw Error::file(path, qt_error_string(errno));
        if (deadline.hasExpired())
            throw Error::file(m_file, QStringLiteral("another program is changing it; try again"));
        QThread::msleep(10);
    }
}

} // namespace kv
