#pragma once

// Quick find: the firms whose name, IČO, street or town fit a short typed
// text, best first. Case and diacritics do not matter; every typed word is
// the beginning of a word of the firm's entry. The order: the firm with
// exactly that IČO, IČOs starting with the digits, names starting with the
// text, names holding every word, then firms found by street or town; within
// each group the firms in name order.

#include "engine/QuickFindIndex.h"
#include "engine/QuickFindQuery.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace kv
{

namespace engine
{
class Database;
}

class QuickFind
{
public:
    static constexpr int Limit = 50;

    // Asks the index one question: at most limit rows in name order.
    using Source = std::function<std::vector<engine::QuickFindRow>(
        const engine::QuickFindQuery& query, int limit)>;
    // The rows whose name starts with a short word, the same as the source
    // gives for the name-start group of that word; nothing when it cannot
    // answer (QuickFindIndex::nameStarts).
    using StartSource = std::function<std::optional<std::vector<engine::QuickFindRow>>(
        const QString& word, int limit)>;

    explicit QuickFind(Source source, StartSource starts = {})
        : m_source(std::move(source)), m_starts(std::move(starts))
    {
    }
    // The index in schema of db: the one QuickFindIndex::attach made usable
    // on a SQLite file, or on a server the version's copy of it (PgQuickFind).
    QuickFind(const engine::Database& db, const QString& schema);

    std::vector<engine::QuickFindRow> find(const QString& text, int limit = Limit) const;

    // The words of a text as the index holds them: lower case, without
    // diacritics, split at anything that is not a letter or digit.
    static QStringList words(const QString& text);
    // The questions of each group, best group first (none when the text
    // has no word).
    static std::vector<engine::QuickFindQuery> queries(const QString& text);
    // Their FTS5 expressions.
    static QStringList expressions(const QString& text);

private:
    std::vector<engine::QuickFindRow> group(const QStringList& words, int index,
                                            const engine::QuickFindQuery& query, int limit) const;

    Source m_source;
    StartSource m_starts;
};

} // namespace kv
