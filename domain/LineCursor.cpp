#include "domain/LineCursor.h"

namespace kv
{

namespace
{

bool lineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

} // namespace

LineCursor::LineCursor(QStringView text) : m_text(text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (!lineEnd(text[i]))
            continue;
        ++m_remaining;
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
    }
    if (n > 0 && !lineEnd(text[n - 1]))
        ++m_remaining;
}

QStringView LineCursor::nextView()
{
    if (m_remaining == 0)
        return {};
    --m_remaining;
    const qsizetype n = m_text.size();
    qsizetype end = m_pos;
    while (end < n && !lineEnd(m_text[end]))
        ++end;
    const QStringView line = m_text.sliced(m_pos, end - m_pos);
    if (end < n && m_text[end] == u'\r' && end + 1 < n && m_text[end + 1] == u'\n')
        ++end;
    m_pos = end + 1;
    return line;
}

QString LineCursor::next()
{
    const QStringView line = nextView();
    if (line.size() > 2)
        return line.toString();
    if (line.isEmpty())
        return QString();
    const quint64 key = quint64(line.size()) << 32 | quint64(line[0].unicode()) << 16 |
                        (line.size() > 1 ? line[1].unicode() : 0);
    QString& shared = m_short[key];
    if (shared.isNull())
        shared = line.toString();
    return shared;
}

} // namespace kv
