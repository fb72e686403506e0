#include "engine/Filter.h"

namespace kv::engine
{

namespace
{

void appendNumbers(QString& out, const Filter::Numbers& numbers)
{
    bool first = true;
    for (qint64 n : numbers) {
        if (!first)
            out += u',';
        first = false;
        out += QString::number(n);
    }
}

// Reads the index of a marker starting at `at` (the kSetOpen); -1 and `at`
// unchanged when it is not a whole marker.
qsizetype readMarker(const QString& s, qsizetype& at)
{
    qsizetype i = at + 1;
    qsizetype index = 0;
    const qsizetype digitsFrom = i;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9')
        index = index * 10 + (s[i++].unicode() - u'0');
    if (i == digitsFrom || i >= s.size() || s[i] != QChar(Filter::kSetClose))
        return -1;
    at = i + 1;
    return index;
}

} // namespace

Filter::Filter(const QString& text) : m_skeleton(text) {}

QString Filter::marker(size_t index)
{
    return QChar(kSetOpen) + QString::number(index) + QChar(kSetClose);
}

Filter Filter::numberList(const QString& field, SharedNumbers numbers)
{
    Filter f;
    f.m_skeleton = u'(' + field + QStringLiteral(" in (") + marker(0) + QStringLiteral("))");
    f.m_sets.push_back(std::move(numbers));
    return f;
}

Filter Filter::fromSkeleton(QString skeleton, std::vector<SharedNumbers> sets)
{
    Filter f;
    f.m_skeleton = std::move(skeleton);
    f.m_sets = std::move(sets);
    return f;
}

QString Filter::text() const
{
    if (m_sets.empty())
        return m_skeleton;
    if (m_text)
        return *m_text;
    size_t digits = 0;
    for (const SharedNumbers& s : m_sets)
        digits += s ? s->size() * 8 : 0;
    QString out;
    out.reserve(m_skeleton.size() + qsizetype(digits));
    QChar quote;
    for (qsizetype i = 0; i < m_skeleton.size();) {
        const QChar c = m_skeleton[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == QChar(kSetOpen)) {
            qsizetype next = i;
            const qsizetype index = readMarker(m_skeleton, next);
            if (index >= 0 && size_t(index) < m_sets.size() && m_sets[size_t(index)]) {
                appendNumbers(out, *m_sets[size_t(index)]);
                i = next;
                continue;
            }
        }
        out += c;
        ++i;
    }
    m_text = std::make_shared<QString>(std::move(out));
    return *m_text;
}

Filter Filter::operator+(const Filter& other) const
{
    if (other.m_sets.empty())
        return fromSkeleton(m_skeleton + other.m_skeleton, m_sets);
    // Renumber the other's markers after ours.
    QString tail;
    tail.reserve(other.m_skeleton.size() + 8);
    const QString& s = other.m_skeleton;
    for (qsizetype i = 0; i < s.size();) {
        if (s[i] == QChar(kSetOpen)) {
            qsizetype next = i;
            const qsizetype index = readMarker(s, next);
            if (index >= 0) {
                tail += marker(m_sets.size() + size_t(index));
                i = next;
                continue;
            }
        }
        tail += s[i++];
    }
    std::vector<SharedNumbers> sets = m_sets;
    sets.insert(sets.end(), other.m_sets.begin(), other.m_sets.end());
    return fromSkeleton(m_skeleton + tail, std::move(sets));
}

bool Filter::operator==(const Filter& other) const
{
    if (m_skeleton != other.m_skeleton || m_sets.size() != other.m_sets.size())
        return false;
    for (size_t i = 0; i < m_sets.size(); ++i) {
        const SharedNumbers& a = m_sets[i];
        const SharedNumbers& b = other.m_sets[i];
        if (a != b && (!a || !b || *a != *b))
            return false;
    }
    return true;
}

} // namespace kv::engine
