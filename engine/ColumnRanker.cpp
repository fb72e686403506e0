#include "engine/ColumnRanker.h"

#include "engine/CzechText.h"
#include "engine/JetDialect.h"
#include "engine/Schema.h"
#include "engine/Statement.h"

#include <QByteArrayView>
#include <QCollatorSortKey>
#include <algorithm>
#include <numeric>
#include <optional>
#include <sqlite3.h>

namespace kv::engine
{

std::size_t ColumnRanker::runLength = std::size_t(1) << 20;

namespace
{

// The distinct texts of a column, numbered in order of first sight, stored
// back to back as UTF-8 (a million firm names as QStrings in a hash would
// take several times their text).
class DistinctTexts
{
public:
    int count() const { return int(m_start.size()) - 1; }
    QByteArrayView at(int n) const
    {
        return QByteArrayView(m_bytes.data() + m_start[size_t(n)],
                              m_start[size_t(n) + 1] - m_start[size_t(n)]);
    }
    QString text(int n) const { return QString::fromUtf8(at(n)); }

    // The number of the text, adding it when new.
    int add(QByteArrayView text)
    {
        if (2 * size_t(count() + 1) > m_table.size())
            grow();
        const size_t mask = m_table.size() - 1;
        for (size_t i = qHash(text) & mask;; i = (i + 1) & mask) {
            if (m_table[i] == 0)
                break;
            if (at(m_table[i] - 1) == text)
                return m_table[i] - 1;
        }
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        m_start.push_back(qsizetype(m_bytes.size()));
        const int n = count() - 1;
        place(n);
        return n;
    }

    // The hash table is only needed while reading.
    void dropLookup() { std::vector<int>().swap(m_table); }

private:
    void place(int n)
    {
        const size_t mask = m_table.size() - 1;
        size_t i = qHash(at(n)) & mask;
        while (m_table[i] != 0)
            i = (i + 1) & mask;
        m_table[i] = n + 1;
    }
    void grow()
    {
        m_table.assign(std::max<size_t>(1024, 2 * m_table.size()), 0);
        for (int n = 0; n < count(); ++n)
            place(n);
    }

    std::vector<char> m_bytes;
    std::vector<qsizetype> m_start{0};
    std::vector<int> m_table; // text number + 1 by hash, 0 when free
};

// Rank (from 1) of every distinct text in the order of its key. Keys are
// made for one run at a time; the sorted runs are merged with the keys of
// their heads made again, so no more than one run's keys live at once.
template <typename MakeKey>
std::vector<int> ranksOfTexts(const DistinctTexts& texts, MakeKey makeKey)
{
    using Key = decltype(makeKey(0));
    const int n = texts.count();
    const int run = int(std::max<std::size_t>(1, ColumnRanker::runLength));
    std::vector<int> sorted(size_t(n), 0);
    std::iota(sorted.begin(), sorted.end(), 0);
    std::vector<int> rankOf(size_t(n), 0);
    for (int begin = 0; begin < n; begin += run) {
        const int end = std::min(n, begin + run);
        std::vector<Key> keys;
        keys.reserve(size_t(end - begin));
        for (int t = begin; t < end; ++t)
            keys.push_back(makeKey(t));
        const auto key = [&](int t) -> const Key& { return keys[size_t(t - begin)]; };
        std::sort(sorted.begin() + begin, sorted.begin() + end,
                  [&](int a, int b) { return key(a).compare(key(b)) < 0; });
        if (n <= run) { // one run: rank it while its keys are at hand
            int rank = 0;
            for (int i = 0; i < n; ++i) {
                if (i == 0 || key(sorted[size_t(i - 1)]).compare(key(sorted[size_t(i)])) != 0)
                    ++rank;
                rankOf[size_t(sorted[size_t(i)])] = rank;
            }
            return rankOf;
        }
    }
    struct Head {
        int at, end;
        Key key;
    };
    std::vector<Head> heads;
    for (int begin = 0; begin < n; begin += run)
        heads.push_back({begin, std::min(n, begin + run), makeKey(sorted[size_t(begin)])});
    std::optional<Key> last; // the key ranked last
    int rank = 0;
    for (int done = 0; done < n; ++done) {
        size_t best = heads.size();
        for (size_t h = 0; h < heads.size(); ++h)
            if (heads[h].at < heads[h].end &&
                (best == heads.size() || heads[h].key.compare(heads[best].key) < 0))
                best = h;
        Head& head = heads[best];
        if (!last || last->compare(head.key) != 0)
            ++rank;
        rankOf[size_t(sorted[size_t(head.at)])] = rank;
        last = head.key;
        if (++head.at < head.end)
            head.key = makeKey(sorted[size_t(head.at)]);
    }
    return rankOf;
}

} // namespace

std::vector<int> ColumnRanker::ranks(sqlite3* db, const QString& table, const FieldInfo& field,
                                     std::size_t rows)
{
    DistinctTexts texts;
    std::vector<int> slot(rows, -1);
    {
        Statement st(db, QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                             .arg(JetDialect::quoted(field.name), JetDialect::quoted(table)));
        sqlite3_stmt* h = st.handle();
        for (size_t i = 0; i < rows && st.step(); ++i) {
            if (sqlite3_column_type(h, 0) == SQLITE_NULL)
                continue;
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(h, 0));
            slot[i] = texts.add(QByteArrayView(text, sqlite3_column_bytes(h, 0)));
        }
    }
    texts.dropLookup();
    // Marks (placena ...) keep the code order SQLite would use; texts go Czech.
    const std::vector<int> rankOf = field.kind == FieldKind::Flag
                                        ? ranksOfTexts(texts, [&](int t) { return texts.text(t); })
                                        : ranksOfTexts(texts, [&](int t) {
                                              return CzechText::collator().sortKey(texts.text(t));
                                          });
    std::vector<int> out(rows, 0);
    for (size_t i = 0; i < rows; ++i)
        if (slot[i] >= 0)
            out[i] = rankOf[size_t(slot[i])];
    return out;
}

} // namespace kv::engine
