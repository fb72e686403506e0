#include "core/Error.h"

#include <QDir>

namespace kv
{

Error::Error(Kind kind, const QString& message, const QString& path, const QString& reason)
    : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message), m_path(path),
      m_reason(reason)
{
}

Error Error::file(const QString& path, const QString& reason)
{
    const QString message = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
    return Error(Kind::File, message, path, reason);
}

Error Error::engine(const QString& message)
{
    return Error(Kind::Engine, message);
}

Error Error::selection(const QString& message)
{
    return Error(Kind::Selection, message);
}

Error Error::report(const QString& message)
{
    return Error(Kind::Report, message);
}

} // namespace kv
