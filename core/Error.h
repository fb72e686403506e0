#pragma once

#include <QString>
#include <stdexcept>

namespace kv
{

// The program's one exception: something below the windows cannot be used —
// a file, the database or a definition. The kind tells callers that handle
// one case apart from the others which it is; the message is meant for the
// user and is shown only by windows and commands.
class Error : public std::runtime_error
{
public:
    enum class Kind {
        File,      // a file could not be created, opened, read or written
        Engine,    // the database refused or a query was rejected
        Selection, // a criterion list, selection record or file is malformed
        Report,    // a report's definition has a fault
    };

    // "path: reason", the path in the platform's notation.
    static Error file(const QString& path, const QString& reason);
    static Error engine(const QString& message);
    static Error selection(const QString& message);
    static Error report(const QString& message);

    Kind kind() const { return m_kind; }
    bool is(Kind kind) const { return m_kind == kind; }
    const QString& message() const { return m_message; }
    // Only set for file errors.
    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }

private:
    Error(Kind kind, const QString& message, const QString& path = {}, const QString& reason = {});

    Kind m_kind;
    QString m_message;
    QString m_path;
    QString m_reason;
};

} // namespace kv
