#include "reports/MemoryDataSource.h"

namespace kv
{

void MemoryDataSource::setRows(QList<QVariantMap> rows)
{
    m_rows = std::move(rows);
    m_visible.clear();
    m_pos = 0;
}

void MemoryDataSource::setMaster(const ReportDataSource* master, const QString& linkField)
{
    m_master = master;
    m_link = linkField;
}

void MemoryDataSource::select()
{
    m_visible.clear();
    const QVariant key = m_master ? m_master->value(m_link) : QVariant();
    for (int i = 0; i < m_rows.size(); ++i) {
        if (!m_master || (!key.isNull() && m_rows[i].value(m_link) == key))
            m_visible.append(i);
    }
}

void MemoryDataSource::first()
{
    ++m_firstCalls;
    select();
    m_pos = 0;
}

void MemoryDataSource::next()
{
    if (m_pos < m_visible.size())
        ++m_pos;
}

bool MemoryDataSource::eof() const
{
    return m_pos >= m_visible.size();
}

bool MemoryDataSource::isEmpty() const
{
    return m_visible.isEmpty();
}

QVariant MemoryDataSource::value(const QString& field) const
{
    if (eof())
        return {};
    return m_rows[m_visible[m_pos]].value(field);
}

} // namespace kv
