#pragma once

// Quick find: the firms whose name, IČO, street or town fit a short typed
// text, best first. Case and diacritics do not matter; every typed word is
// the beginning of a word of the firm's entry. The order: the firm with
// exactly that IČO, IČOs starting with the digits, names starting with the
// text, names holding every word, then firms found by street or town; within
// each group the firms in name order.

#include "engine/QuickFindIndex.h"

#include <QString>
#include <QStringList>
#include <functional>
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

    // Runs one FTS5 expression against the index: at most limit rows in
    // name order.
    using Source =
        std::function<std::vector<engine::QuickFindRow>(const QString& expression, int limit)>;

    explicit QuickFind(Source source) : m_source(std::move(source)) {}
    // The index that QuickFindIndex::attach made usable on db.
    QuickFind(const engine::Database& db, const QString& schema);

    std::vector<engine::QuickFindRow> find(const QString& text, int limit = Limit) const;

    // The words of a text as the index holds them: lower case, without
    // diacritics, split at anything that is not a letter or digit.
    static QStringList words(const QString& text);
    // The index expressions of each group, best group first (empty when the
    // text has no word).
    static QStringList expressions(const QString& text);

private:
    Source m_source;
};

} // namespace kv
