#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kvtest
{

// Points HOME, the XDG folders and the locale of this process at a fresh
// temporary folder, so that no test reads or writes the developer's files.
// Made once at the top of main(), before the QApplication exists; the folder
// goes when main() returns (ctest starts a process per case: a folder left
// by each would fill the temporary folder).
class IsolatedEnvironment
{
public:
    IsolatedEnvironment();
    ~IsolatedEnvironment();
    IsolatedEnvironment(const IsolatedEnvironment&) = delete;
    IsolatedEnvironment& operator=(const IsolatedEnvironment&) = delete;
};

// The folder made by IsolatedEnvironment.
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
