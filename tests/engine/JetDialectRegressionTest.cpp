// Filter texts that once broke the translation: found by fuzzing, each was
// either a crash or a translation that SQLite then refused.

#include "tests/support/CompanyDb.h"

#include "engine/JetDialect.h"
#include "engine/TableCursor.h"
#include "tests/support/ErrorKind.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace kv::engine;

namespace
{

class DialectRegression : public ::testing::Test
{
protected:
    void SetUp() override
    {
        build.companySet();
        db = build.openReadOnly(true);
    }

    QSet<int> firms(const QString& filter) { return kvtest::firmsMatching(*db, filter); }

    kvtest::CompanyDb build;
    std::unique_ptr<Database> db;
};

QString repeated(const QString& piece, int times)
{
    QString s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

} // namespace

// "not not not ... peno=1" recursed once per NOT and ran out of stack; a
// thousand of them also overflowed SQLite's parser.
TEST_F(DialectRegression, LongRunsOfNotCancelInPairs)
{
    EXPECT_EQ(firms(repeated("not ", 1100) + "peno=1"), QSet<int>({1}));
    EXPECT_EQ(firms(repeated("not ", 1101) + "(peno<>1)"), QSet<int>({1}));
    EXPECT_EQ(firms(repeated("NOT ", 3) + "peno in (1,2,3,4,5)"), QSet<int>({6, 200219}));
    EXPECT_NO_THROW(JetDialect::filter("firma", repeated("not ", 300000) + "peno=1"));
}

// Thousands of alternatives in one row made an expression tree higher than
// SQLite accepts ("Expression tree is too large").
TEST_F(DialectRegression, LongChainsOfOrAndAndRun)
{
    QStringList alternatives;
    for (int i = 1000; i < 3500; ++i)
        alternatives << QStringLiteral("(peno in (%1))").arg(i);
    alternatives << "(peno in (4))"
                 << "(nazev like 'Ivan')";
    EXPECT_EQ(firms(alternatives.join(" Or ")), QSet<int>({4, 6}));

    QStringList all;
    for (int i = 0; i < 2500; ++i)
        all << QStringLiteral("peno <> %1").arg(i + 7);
    all << "misto_id in (1, 2)";
    EXPECT_EQ(firms(all.join(" and ")), QSet<int>({1, 2, 4, 5, 200219}));

    // Parameters keep their order through the grouping.
    QStringList names;
    for (int i = 0; i < 40; ++i)
        names << QStringLiteral("nazev = 'x%1'").arg(i);
    names << "nazev = 'Ivan'"
          << "misto = 'Ústí'";
    const Translated t = JetDialect::filter("firma", names.join(" or "));
    ASSERT_EQ(t.params.size(), 42);
    EXPECT_EQ(t.params.at(40).toString(), "Ivan");
    EXPECT_EQ(firms(names.join(" or ")), QSet<int>({3, 6}));
}

// Deep parentheses overflowed SQLite's parser stack after translation; they
// are refused before, and the depth still allowed runs.
TEST_F(DialectRegression, DeepParenthesesAreRefusedBeforeSqlite)
{
    const auto nested = [](int depth) {
        return repeated("(", depth) + "peno=2" + repeated(")", depth);
    };
    EXPECT_EQ(firms(nested(55)), QSet<int>({2}));
    EXPECT_KV_ERROR(JetDialect::filter("firma", nested(61)), Engine);
    EXPECT_KV_ERROR(JetDialect::filter("firma", nested(200)), Engine);
    EXPECT_KV_ERROR(JetDialect::select("select peno from firma where " + nested(120)), Engine);
}
