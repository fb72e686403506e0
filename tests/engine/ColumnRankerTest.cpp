// The stored ranks of a column follow the collator whether the distinct
// texts are sorted in one run or in several runs merged afterwards.
#include "engine/ColumnRanker.h"
#include "engine/CzechText.h"
#include "engine/Schema.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <sqlite3.h>

using namespace kv::engine;

namespace
{

// A one-column table t(v) holding the values in rowid order; a null
// QString is SQL NULL.
class Column
{
public:
    explicit Column(const QStringList& values)
    {
        sqlite3_open(":memory:", &m_db);
        sqlite3_exec(m_db, "CREATE TABLE t(v TEXT)", nullptr, nullptr, nullptr);
        sqlite3_stmt* ins = nullptr;
        sqlite3_prepare_v2(m_db, "INSERT INTO t VALUES(?)", -1, &ins, nullptr);
        for (const QString& v : values) {
            const QByteArray utf8 = v.toUtf8();
            if (v.isNull())
                sqlite3_bind_null(ins, 1);
            else
                sqlite3_bind_text(ins, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            sqlite3_step(ins);
            sqlite3_reset(ins);
        }
        sqlite3_finalize(ins);
    }
    ~Column() { sqlite3_close(m_db); }
    std::vector<int> ranks(FieldKind kind, std::size_t run, std::size_t rows) const
    {
        const std::size_t saved = ColumnRanker::runLength;
        ColumnRanker::runLength = run;
        const FieldInfo field{QStringLiteral("v"), kind, true};
        std::vector<int> out = ColumnRanker::ranks(m_db, QStringLiteral("t"), field, rows);
        ColumnRanker::runLength = saved;
        return out;
    }

private:
    sqlite3* m_db = nullptr;
};

// Ranks as the definition says: 0 for null, else one more than the number
// of distinct values ordered before it by compare.
template <typename Compare>
std::vector<int> expectedRanks(const QStringList& values, Compare compare)
{
    QStringList distinct;
    for (const QString& v : values)
        if (!v.isNull() && std::none_of(distinct.begin(), distinct.end(),
                                        [&](const QString& d) { return compare(d, v) == 0; }))
            distinct << v;
    std::vector<int> out;
    for (const QString& v : values) {
        int below = 0;
        for (const QString& d : distinct)
            below += compare(d, v) < 0;
        out.push_back(v.isNull() ? 0 : below + 1);
    }
    return out;
}

TEST(ColumnRanker, CzechOrderWithNullsAndRepeatsIsTheSameInOneRunOrMany)
{
    const QStringList values = {"Chrudim", "Cyril", "čaj",  QString(), "Čech", "cukr", "Hrad",
                                "chata",   "Cyril", "ábel", "Abel",    "abel", "",     "Hrad",
                                "Žár",     "zámek", "Čech", QString(), "Ivan", "cukr", "Chrudim"};
    const Column column(values);
    const std::vector<int> expected = expectedRanks(values, CzechText::compare);
    // Spot checks of the Czech tailoring the definition relies on.
    EXPECT_EQ(expected[3], 0);
    EXPECT_GT(expected[0], expected[6]); // "Chrudim" after "Hrad"
    EXPECT_GT(expected[2], expected[5]); // "čaj" after "cukr"
    EXPECT_EQ(expected[1], expected[8]);
    for (const std::size_t run :
         {std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(7), std::size_t(1) << 20})
        EXPECT_EQ(column.ranks(FieldKind::Text, run, values.size()), expected) << run;
}

TEST(ColumnRanker, MarksKeepCodeOrderAndMissingRowsRankZero)
{
    const QStringList values = {"a", "A", QString(), "B", "A", "Á", "a"};
    const Column column(values);
    const std::vector<int> expected =
        expectedRanks(values, [](const QString& a, const QString& b) { return a.compare(b); });
    EXPECT_EQ(expected, std::vector<int>({3, 1, 0, 2, 1, 4, 3}));
    for (const std::size_t run : {std::size_t(1), std::size_t(2), std::size_t(1) << 20})
        EXPECT_EQ(column.ranks(FieldKind::Flag, run, values.size()), expected) << run;
    // Asked for more rows than the table has: the rest rank 0.
    std::vector<int> longer = expected;
    longer.resize(values.size() + 2, 0);
    EXPECT_EQ(column.ranks(FieldKind::Flag, 2, values.size() + 2), longer);
}

} // namespace
