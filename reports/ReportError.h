#pragma once

#include <QString>
#include <stdexcept>

namespace kv
{

// A fault in a report's definition (an expression that does not parse, an
// unknown cursor); generation stops and the message goes to the user.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace kv
