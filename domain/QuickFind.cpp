#include "domain/QuickFind.h"

#include <QSet>

namespace kv
{

namespace
{

QString quoted(const QString& word)
{
    // words() keeps only letters and digits, so no quote needs doubling.
    return u'"' + word + u'"';
}

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
    : m_source([&db, schema](const QString& expression, int limit) {
          return engine::QuickFindIndex::match(db, schema, expression, limit);
      }),
      m_starts([&db, schema](const QString& word, int limit) {
          return engine::QuickFindIndex::nameStarts(db, schema, word, limit);
      })
{
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

QStringList QuickFind::expressions(const QString& text)
{
    const QStringList w = words(text);
    if (w.isEmpty())
        return {};
    QStringList result;
    if (allDigits(w)) {
        result << QStringLiteral("{ico} : ") + quoted(w.first());
        result << QStringLiteral("{ico} : ") + quoted(w.first()) + u'*';
    }
    // The name starts with the text: the words as a phrase at its start,
    // the last one a prefix.
    QStringList phrase;
    for (const QString& word : w)
        phrase << quoted(word);
    result << QStringLiteral("{nazev} : ^ ") + phrase.join(QStringLiteral(" + ")) + u'*';
    QStringList prefixes;
    for (const QString& word : w)
        prefixes << quoted(word) + u'*';
    const QString all = prefixes.join(QStringLiteral(" AND "));
    result << QStringLiteral("{nazev} : (") + all + u')';
    result << all;
    return result;
}

std::vector<engine::QuickFindRow> QuickFind::group(const QStringList& words, int index,
                                                   const QString& expression, int limit) const
{
    // One short word fits most firms: its name-start group (after the two
    // IČO groups of digits) comes from the kept first rows when there are.
    const int nameStart = allDigits(words) ? 2 : 0;
    if (m_starts && index == nameStart && words.size() == 1 &&
        words.first().size() <= engine::QuickFindIndex::StartPrefixMax)
        if (auto rows = m_starts(words.first(), limit))
            return std::move(*rows);
    return m_source(expression, limit);
}

std::vector<engine::QuickFindRow> QuickFind::find(const QString& text, int limit) const
{
    std::vector<engine::QuickFindRow> result;
    QSet<qint64> seen;
    const QStringList w = words(text);
    const QStringList all = expressions(text);
    for (int index = 0; index < all.size(); ++index) {
        if (int(result.size()) >= limit)
            break;
        // Rows found by an earlier group come again; asking for as many
        // more as already found still fills the list.
        const int wanted = limit - int(result.size()) + int(seen.size());
        for (engine::QuickFindRow& row : group(w, index, all.at(index), wanted)) {
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
