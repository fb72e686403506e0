#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

namespace kvtest
{

// Makes a folder refuse new files for the lifetime of the object: by its
// permissions, or, where those do not bind (running as root), by the
// immutable attribute. locked() tells whether either worked.
class LockedFolder
{
public:
    explicit LockedFolder(const QString& path) : m_path(path)
    {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (probeWritable()) {
            m_immutable = QProcess::execute(QStringLiteral("chattr"), {"+i", path}) == 0;
        }
        m_locked = !probeWritable();
    }
    ~LockedFolder()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {"-i", m_path});
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;
    bool locked() const { return m_locked; }

private:
    bool probeWritable() const
    {
        QFile probe(QDir(m_path).filePath(QStringLiteral(".probe")));
        if (!probe.open(QIODevice::WriteOnly))
            return false;
        probe.close();
        probe.remove();
        return true;
    }

    QString m_path;
    bool m_immutable = false;
    bool m_locked = false;
};

} // namespace kvtest
