#include "core/FileError.h"

#include <QDir>

namespace kv
{

namespace
{

QString compose(const QString& path, const QString& reason)
{
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

FileError::FileError(const QString& path, const QString& reason)
    : std::runtime_error(compose(path, reason).toStdString()), m_path(path), m_reason(reason)
{
}

QString FileError::message() const
{
    return compose(m_path, m_reason);
}

} // namespace kv
