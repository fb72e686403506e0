#include "domain/QuickFind.h"

#include "engine/Database.h"
#include "engine/PgQuickFind.h"

#include <QSet>
#include <memory>

namespace kv
{

namespace
{

bool allDigits(const QStringList& words)
{
    if (words.size() != 1)
        return false;
    for (QChar c : words.first())
        if (!c.isDigit())
            return false;
    return true;
}

} // namespace

static_assert(QuickFind::Limit <= engine::QuickFindIndex::StartRows,
              "the kept first rows fill the drop-down");

QuickFind::QuickFind(const engine::Database& db, const QString& schema)
{
    if (db.isServer()) {
        // The server's copy keeps no first rows: every group asks it.
        auto server = std::make_shared<engine::PgQuickFind>(db, schema);
        m_source = [server](const engine::QuickFindQuery& query, int limit) {
            return server->match(query, limit);
        };
        return;
    }
    m_source = [&db, schema](const engine::QuickFindQuery& query, int limit) {
        return engine::QuickFindIndex::match(db, schema, query.expression(), limit);
    };
    m_starts = [&db, schema](const QString& word, int limit) {
        return engine::QuickFindIndex::nameStarts(db, schema, word, limit);
    };
}

QStringList QuickFind::words(const QString& text)
{
    const QString folded = text.normalized(QString::NormalizationForm_KD);
    QStringList result;
    QString word;
    for (QChar c : folded) {
        if (c.isMark())
            continue;
        if (c.isLetterOrNumber()) {
            word += c.toLower();
        } else if (!word.isEmpty()) {
            result << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        result << word;
    return result;
}

std::vector<engine::QuickFindQuery> QuickFind::queries(const QString& text)
{
    using Kind = engine::QuickFindQuery::Kind;
    const QStringList w = words(text);
    if (w.isEmpty())
        return {};
    std::vector<engine::QuickFindQuery> result;
    if (allDigits(w)) {
        result.push_back({Kind::IcoExact, w});
        result.push_back({Kind::IcoPrefix, w});
    }
    // The name starts with the text: the words as a phrase at its start,
    // the last one a prefix.
    result.push_back({Kind::NameStart, w});
    result.push_back({Kind::NameWords, w});
    result.push_back({Kind::AnyWords, w});
    return result;
}

QStringList QuickFind::expressions(const QString& text)
{
    QStringList result;
    for (const engine::QuickFindQuery& query : queries(text))
        result << query.expression();
    return result;
}

std::vector<engine::QuickFindRow> QuickFind::group(const QStringList& words, int index,
                                                   const engine::QuickFindQuery& query,
                                                   int limit) const
{
    // One short word fits most firms: its name-start group (after the two
    // IČO groups of digits) comes from the kept first rows when there are.
    const int nameStart = allDigits(words) ? 2 : 0;
    if (m_starts && index == nameStart && words.size() == 1 &&
        words.first().size() <= engine::QuickFindIndex::StartPrefixMax)
        if (auto rows = m_starts(words.first(), limit))
            return std::move(*rows);
    return m_source(query, limit);
}

std::vector<engine::QuickFindRow> QuickFind::find(const QString& text, int limit) const
{
    std::vector<engine::QuickFindRow> result;
    QSet<qint64> seen;
    const QStringList w = words(text);
    const std::vector<engine::QuickFindQuery> all = queries(text);
    for (int index = 0; index < int(all.size()); ++index) {
        if (int(result.size()) >= limit)
            break;
        // Rows found by an earlier group come again; asking for as many
        // more as already found still fills the list.
        const int wanted = limit - int(result.size()) + int(seen.size());
        for (engine::QuickFindRow& row : group(w, index, all[size_t(index)], wanted)) {
            if (int(result.size()) >= limit)
                break;
            if (seen.contains(row.peno))
                continue;
            seen.insert(row.peno);
            result.push_back(std::move(row));
        }
    }
    return result;
}

} // namespace kv
