#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kvtest
{

// Points HOME, the XDG folders and the locale of this process at a fresh
// temporary folder, so that no test reads or writes the developer's files.
// Called once from main() before the QApplication exists.
void isolateEnvironment();

// The folder made by isolateEnvironment().
QString isolatedRoot();

// A throw-away data home: the folder layout the program expects below the
// data home (Dta/, Log/, RK/, Pozn/, Prez/), removed when the object dies.
class TestHome
{
public:
    TestHome();
    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    // Writes bytes to a file below the home, creating folders as needed.
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

} // namespace kvtest
