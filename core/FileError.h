#pragma once

#include <QString>
#include <stdexcept>

namespace kv
{

// A file could not be created, opened, read or written. The message names
// the file; callers decide whether and how to tell the user.
class FileError : public std::runtime_error
{
public:
    FileError(const QString& path, const QString& reason);
    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }
    // The message as Unicode text, for display.
    QString message() const;

private:
    QString m_path;
    QString m_reason;
};

} // namespace kv
