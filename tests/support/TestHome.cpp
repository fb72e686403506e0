#include "tests/support/TestHome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cstdlib>

namespace kvtest
{

namespace
{
QString& rootPath()
{
    static QString root;
    return root;
}
} // namespace

IsolatedEnvironment::IsolatedEnvironment()
{
    QByteArray tmpl = QDir::tempPath().toLocal8Bit() + "/kvtest-XXXXXX";
    char* made = mkdtemp(tmpl.data());
    if (!made)
        std::abort();
    rootPath() = QString::fromLocal8Bit(made);
    const QByteArray root = rootPath().toLocal8Bit();
    for (const char* sub : {"/home", "/config", "/data", "/cache", "/runtime"})
        QDir().mkpath(rootPath() + QLatin1String(sub));
    QFile::setPermissions(rootPath() + "/runtime",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", root + "/home");
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    qputenv("XDG_CONFIG_DIRS", root + "/config-system");
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANG", "C.UTF-8");
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
}

IsolatedEnvironment::~IsolatedEnvironment()
{
    // A test may have left a folder read-only (the refused-write cases).
    const QString root = rootPath();
    QDirIterator it(root, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        QFile::setPermissions(it.next(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
    QDir(root).removeRecursively();
}

QString isolatedRoot()
{
    return rootPath();
}

TestHome::TestHome()
{
    for (const char* sub : {"Dta", "Log", "RK", "Pozn", "Prez"})
        QDir(m_dir.path()).mkpath(QLatin1String(sub));
}

void TestHome::write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TestHome::read(const QString& relative) const
{
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace kvtest
