#pragma once

// Shared pieces of the fuzz targets: one application object per process and
// a scratch file that holds the current input for readers that take a path.

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace kvfuzz
{

// Readers that draw or decode pictures need a QGuiApplication; the others
// make do with a QCoreApplication. Created once and kept for the process.
template <class App = QCoreApplication> inline void initApp(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<App> app(new App(*argc, *argv));
}

// A folder of this process (in memory where possible), for scratch files.
inline const QTemporaryDir& scratchDir()
{
    static const QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm"))
                                       ? QStringLiteral("/dev/shm/kvfuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/kvfuzz-XXXXXX"));
    return dir;
}

// Writes the input to a scratch file named name and returns its path.
inline QString writeInput(const uint8_t* data, size_t size, const QString& name)
{
    const QString path = scratchDir().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        std::fprintf(stderr, "cannot write the scratch file %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

// A broken promise of the reader under test: report and stop like a crash.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace kvfuzz
