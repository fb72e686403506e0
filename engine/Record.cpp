#include "engine/Record.h"

#include "core/Error.h"

namespace kv::engine
{

FieldSet::FieldSet(const QStringList& names) : m_names(names)
{
    for (int i = 0; i < m_names.size(); ++i)
        m_index.insert(m_names[i].toLower(), i);
}

int FieldSet::indexOf(const QString& name) const
{
    return m_index.value(name.toLower(), -1);
}

int Record::column(const QString& name) const
{
    const int c = m_fields ? m_fields->indexOf(name) : -1;
    if (c < 0) {
        if (!m_fields)
            throw Error::engine(QStringLiteral("No current record (field %1)").arg(name));
        throw Error::engine(QStringLiteral("Field not found: %1").arg(name));
    }
    return c;
}

QVariant Record::value(const QString& name) const
{
    return m_values.at(size_t(column(name)));
}

void Record::setValue(const QString& name, const QVariant& value)
{
    m_values.at(size_t(column(name))) = value;
}

} // namespace kv::engine
