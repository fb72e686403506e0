#include "reports/TableCursorSource.h"

#include "engine/TableCursor.h"

namespace kv
{

void TableCursorSource::first()
{
    if (m_cursor.isOpen())
        m_cursor.first();
}

void TableCursorSource::next()
{
    if (m_cursor.isOpen())
        m_cursor.next();
}

bool TableCursorSource::eof() const
{
    return !m_cursor.isOpen() || m_cursor.isEmpty() || m_cursor.eof();
}

bool TableCursorSource::isEmpty() const
{
    return !m_cursor.isOpen() || m_cursor.isEmpty();
}

int TableCursorSource::recordCount() const
{
    return m_cursor.isOpen() ? m_cursor.recordCount() : 0;
}

QVariant TableCursorSource::value(const QString& field) const
{
    if (isEmpty() || m_cursor.eof())
        return {};
    return m_cursor.value(field);
}

} // namespace kv
