#pragma once

#include <QString>
#include <stdexcept>

namespace kv
{

// A criterion list, selection record or selection file that cannot be used:
// malformed blocks, counts that are not numbers, keys that are not numbers.
// The message is meant for the program's general error message.
class SelectionError : public std::runtime_error
{
public:
    explicit SelectionError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace kv
