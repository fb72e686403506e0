#pragma once

#include <QString>
#include <stdexcept>

namespace kv::engine
{

// Every failure of the engine layer: SQLite's own message where SQLite
// refused, otherwise a short text saying what was rejected and why.
class EngineError : public std::runtime_error
{
public:
    explicit EngineError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace kv::engine
