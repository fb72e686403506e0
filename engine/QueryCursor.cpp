#include "engine/QueryCursor.h"

#include "core/Error.h"
#include "engine/BoundStatement.h"
#include "engine/Database.h"
#include "engine/JetDialect.h"
#include "engine/Statement.h"

namespace kv::engine
{

void QueryCursor::setSql(const QStringList& lines)
{
    close();
    m_lines = lines;
}

void QueryCursor::clear()
{
    close();
    m_lines.clear();
}

void QueryCursor::open()
{
    close();
    const Translated q = JetDialect::select(m_lines.join(u'\n'), m_db.sqlForm());
    BoundStatement bound(m_db, q);
    Statement& st = bound.statement();
    QStringList names;
    for (int c = 0; c < st.columnCount(); ++c)
        names << st.columnName(c);
    auto fields = std::make_shared<const FieldSet>(names);
    std::vector<Record> rows;
    while (st.step()) {
        std::vector<QVariant> values;
        values.reserve(size_t(names.size()));
        for (int c = 0; c < names.size(); ++c)
            values.push_back(st.value(c));
        rows.emplace_back(fields, std::move(values));
    }
    m_fields = std::move(fields);
    m_rows = std::move(rows);
    m_open = true;
    first();
}

void QueryCursor::close()
{
    m_open = false;
    m_rows.clear();
    m_fields.reset();
    m_index = -1;
    m_eof = m_bof = true;
}

void QueryCursor::first()
{
    m_index = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
}

void QueryCursor::last()
{
    m_index = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.empty();
}

void QueryCursor::next()
{
    if (m_index + 1 >= int(m_rows.size())) {
        m_eof = true;
        return;
    }
    ++m_index;
    m_bof = m_eof = false;
}

void QueryCursor::prior()
{
    if (m_index <= 0) {
        m_bof = true;
        return;
    }
    --m_index;
    m_bof = m_eof = false;
}

void QueryCursor::setPosition(int position)
{
    if (m_rows.empty())
        return;
    m_index = std::clamp(position, 1, int(m_rows.size())) - 1;
    m_bof = m_eof = false;
}

const Record& QueryCursor::current() const
{
    static const Record none;
    return m_index >= 0 ? m_rows[size_t(m_index)] : none;
}

QVariant QueryCursor::value(const QString& field) const
{
    if (!m_fields)
        throw Error::engine(QStringLiteral("Query is not open"));
    if (m_fields->indexOf(field) < 0)
        throw Error::engine(QStringLiteral("Field not found: %1").arg(field));
    return m_index >= 0 ? m_rows[size_t(m_index)].value(field) : QVariant();
}

QVariant QueryCursor::value(int column) const
{
    if (!m_fields || column < 0 || column >= m_fields->size())
        throw Error::engine(QStringLiteral("Column %1 not available").arg(column));
    return m_index >= 0 ? m_rows[size_t(m_index)].value(column) : QVariant();
}

} // namespace kv::engine
