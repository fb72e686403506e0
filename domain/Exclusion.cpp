#include "domain/Exclusion.h"

#include "core/StringTable.h"
#include "engine/TableCursor.h"

#include <algorithm>

namespace kv
{

namespace
{

// Holds the views of a cursor while it changes; resumes them on every exit.
class SuspendedViews
{
public:
    explicit SuspendedViews(engine::TableCursor& c) : m_c(c) { m_c.suspendViews(); }
    ~SuspendedViews() { m_c.resumeViews(); }
    SuspendedViews(const SuspendedViews&) = delete;
    SuspendedViews& operator=(const SuspendedViews&) = delete;

private:
    engine::TableCursor& m_c;
};

// Trims spaces and control characters at both ends.
QString trimmed(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s[b].unicode() <= 0x20)
        ++b;
    while (e > b && s[e - 1].unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

void cutFrom(QString& s, QLatin1String marker)
{
    const qsizetype at = s.indexOf(marker, 0, Qt::CaseSensitive);
    if (at >= 0)
        s.truncate(at);
}

} // namespace

QString exclusionClause(const QList<ExcludedFirm>& firms)
{
    if (firms.isEmpty())
        return QString();
    QStringList numbers;
    numbers.reserve(firms.size());
    for (const ExcludedFirm& f : firms)
        numbers << QString::number(f.peno);
    return QStringLiteral("(not peno in (") + numbers.join(QLatin1Char(',')) + QStringLiteral("))");
}

bool isOneGroup(const QString& text)
{
    if (text.size() < 2 || text.front() != QLatin1Char('(') || text.back() != QLatin1Char(')'))
        return false;
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = c;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && --depth == 0)
            return i == text.size() - 1;
    }
    return false;
}

QString composeExclusionFilter(const QString& filter, const QString& clause)
{
    QString s = filter;
    cutFrom(s, QLatin1String(" and (not peno in ("));
    cutFrom(s, QLatin1String("(not peno in ("));
    if (clause.isEmpty())
        return s;
    if (!s.isEmpty()) {
        s = trimmed(s);
        // A filter that merely starts with "((" may still be several terms
        // ("((a)) Or (b)"); only one whole group can take " and " unwrapped.
        if (!(s.startsWith(QLatin1String("((")) && isOneGroup(s)))
            s = QLatin1Char('(') + s + QLatin1Char(')');
        s += QLatin1String(" and ");
    }
    return trimmed(trimmed(s) + QLatin1Char(' ') + trimmed(clause));
}

engine::Filter composeExclusionFilter(const engine::Filter& filter, const QString& clause)
{
    // The lists stand as markers in the skeleton, which holds no exclusion
    // marker, bracket or space of theirs: the text rules apply unchanged.
    return engine::Filter::fromSkeleton(composeExclusionFilter(filter.skeleton(), clause),
                                        filter.sets());
}

QString exclusionStatusText(qsizetype count)
{
    return count > 0 ? loadStr(220) + QString::number(count) : QString();
}

QString Exclusion::exclusionClause() const
{
    return kv::exclusionClause(m_dm.excludedFirms());
}

Exclusion::Result Exclusion::excludeCurrent()
{
    engine::TableCursor& firma = *m_dm.firms();
    const int p = firma.position();
    const int n = firma.recordCount();
    if (n < 2)
        return Result::Refused;

    showWait();
    {
        SuspendedViews hold(firma);
        auto& list = m_dm.excludedFirms();
        list.append({firma.text(QStringLiteral("nazev")), firma.int64(QStringLiteral("peno"))});
        try {
            reapplyExclusion();
        } catch (...) {
            list.removeLast();
            hideWait();
            throw;
        }
        const int m = firma.recordCount();
        if (m > 1) {
            if (p < m) {
                firma.setPosition(p + 1);
                firma.prior();
            } else {
                firma.setPosition(p - 1);
                firma.next();
            }
        }
    }
    hideWait();
    return Result::Excluded;
}

void Exclusion::applyExclusion()
{
    engine::TableCursor& firma = *m_dm.firms();
    {
        SuspendedViews hold(firma);
        const engine::Filter s = composeExclusionFilter(firma.filterWithSets(), exclusionClause());
        firma.setFilter(s, !s.isEmpty());
    }
    if (m_status)
        m_status(exclusionStatusText(m_dm.excludedFirms().size()));
}

void Exclusion::reapplyExclusion()
{
    if (!m_dm.excludedFirms().isEmpty())
        applyExclusion();
}

void Exclusion::clearExclusions()
{
    m_dm.excludedFirms().clear();
}

void Exclusion::restoreSelected(QList<int> indexes)
{
    auto& list = m_dm.excludedFirms();
    std::sort(indexes.begin(), indexes.end(), std::greater<int>());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (int i : indexes)
        if (i >= 0 && i < list.size())
            list.removeAt(i);
    applyExclusion();
}

void Exclusion::restoreAll()
{
    showWait();
    try {
        clearExclusions();
        applyExclusion();
    } catch (...) {
        hideWait();
        throw;
    }
    hideWait();
}

void Exclusion::showWait()
{
    if (m_showWait)
        m_showWait();
}

void Exclusion::hideWait()
{
    if (m_hideWait)
        m_hideWait();
}

} // namespace kv
