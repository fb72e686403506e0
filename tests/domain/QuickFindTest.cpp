#include "tests/support/CompanyDb.h"

#include "domain/QuickFind.h"
#include "engine/Database.h"
#include "engine/QuickFindIndex.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

using namespace kv;

namespace
{

// firma row with name, IČO, street and town.
void addFirm(kvtest::CompanyDb& db, int peno, const QString& nazev, const QString& ico,
             const QString& ulice, const QString& misto)
{
    const QVariant null;
    db.insert(QStringLiteral("firma"), {peno, ico, nazev, ulice, 0, misto, null, null, null, null,
                                        null, null, null, null, null, null, null});
}

class QuickFindTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        addFirm(m_db, 1, "Železárny Podbrezová", "12345678", "Hlavní 1", "Praha");
        addFirm(m_db, 2, "Český Krumlov Hotel", "23456789", "Náměstí 2", "Český Krumlov");
        addFirm(m_db, 3, "Hotel Růže", "12349999", "Horní 15", "Český Krumlov");
        addFirm(m_db, 4, "Pekárna Český Krumlov", "34567890", "Dlouhá 4", "Brno");
        addFirm(m_db, 5, "ABC Stavby", "00012345", "Krumlovská 3", "Ostrava");
        addFirm(m_db, 6, "Nakladatelství Praha", "12345", "Vodní 6", "Písek");
        // First words behind quotes, brackets and digits.
        addFirm(m_db, 7, "„Alfa“ Beta", "55500001", "Zahradní 7", "Kolín");
        addFirm(m_db, 8, "(P) Pekař", "55500002", "Zahradní 8", "Kolín");
        addFirm(m_db, 9, "3D Tisk", "55500003", "Zahradní 9", "Kolín");
        for (int i = 0; i < 120; ++i)
            addFirm(m_db, 1000 + i, QStringLiteral("Firma %1").arg(119 - i, 3, 10, QChar(u'0')),
                    QStringLiteral("9%1").arg(i, 7, 10, QChar(u'0')), "Polní", "Tábor");
        m_db.finish();
        kv::engine::buildQuickFindIndex(*builder());
        m_db.done();
        m_read = std::make_unique<kv::engine::Database>(m_db.path());
    }

    kv::engine::Database* builder()
    {
        m_build = std::make_unique<kv::engine::Database>(m_db.path(),
                                                         kv::engine::Database::Mode::ReadWrite);
        return m_build.get();
    }

    std::vector<qint64> penos(const QString& text, int limit = QuickFind::Limit)
    {
        std::vector<qint64> result;
        for (const auto& row : QuickFind(*m_read, QStringLiteral("main")).find(text, limit))
            result.push_back(row.peno);
        return result;
    }

    kvtest::CompanyDb m_db;
    std::unique_ptr<kv::engine::Database> m_build;
    std::unique_ptr<kv::engine::Database> m_read;
};

using Penos = std::vector<qint64>;

TEST(QuickFindWords, FoldedToLowerCaseWithoutDiacriticsAndSplit)
{
    EXPECT_EQ(QuickFind::words(QStringLiteral("Český-Krumlov, s.r.o.")),
              QStringList({"cesky", "krumlov", "s", "r", "o"}));
    EXPECT_EQ(QuickFind::words(QStringLiteral("  ŽLUŤOUČKÝ kůň \"ódy\" ")),
              QStringList({"zlutoucky", "kun", "ody"}));
    EXPECT_TRUE(QuickFind::words(QStringLiteral(" ,.-\"* ")).isEmpty());
    EXPECT_TRUE(QuickFind::expressions(QStringLiteral("\"*")).isEmpty());
}

TEST_F(QuickFindTest, CaseAndDiacriticsDoNotMatter)
{
    // Name starting with the text, then the name holding the words, then
    // the firm whose town fits.
    const Penos expected{2, 4, 3};
    EXPECT_EQ(penos("cesky krumlov"), expected);
    EXPECT_EQ(penos("ČESKÝ KRUM"), expected);
    EXPECT_EQ(penos("český krumlov"), expected);
    EXPECT_EQ(penos("zelezarny"), Penos{1});
    EXPECT_EQ(penos("ŽELEZ"), Penos{1});
    EXPECT_TRUE(penos("zelezarnyx").empty());
    EXPECT_TRUE(penos("").empty());
}

TEST_F(QuickFindTest, IcoExactFirstThenByItsFirstDigits)
{
    EXPECT_EQ(penos("12345"), (Penos{6, 1}));
    EXPECT_EQ(penos("1234"), (Penos{3, 6, 1})); // prefix matches in name order
    EXPECT_EQ(penos("23456789"), Penos{2});
    EXPECT_EQ(penos("00012345"), Penos{5});
}

TEST_F(QuickFindTest, NameStartBeforeNameWordsBeforeStreetAndTown)
{
    EXPECT_EQ(penos("hotel"), (Penos{3, 2}));
    // Every word a word prefix somewhere: in the name for 2, across name and
    // town for 3.
    EXPECT_EQ(penos("kr hot"), (Penos{2, 3}));
    // Street only.
    EXPECT_EQ(penos("krumlovska"), Penos{5});
    EXPECT_EQ(penos("praha"), (Penos{6, 1})); // name holds it, then the town
}

TEST_F(QuickFindTest, AtMostFiftyInNameOrder)
{
    const Penos found = penos("firma");
    ASSERT_EQ(found.size(), 50u);
    // "Firma 000" is peno 1119, "Firma 001" 1118, ...
    for (size_t i = 0; i < found.size(); ++i)
        EXPECT_EQ(found[i], 1119 - qint64(i));
    EXPECT_EQ(penos("firma", 7).size(), 7u);
    EXPECT_EQ(penos("tabor", 200).size(), 120u);
}

// One or two letters fit most firms: their name-start group comes from the
// first rows kept beside the index, and every answer is the one the index
// alone gives, also where the first word of a name is hidden behind
// punctuation, diacritics or digits.
TEST_F(QuickFindTest, ShortWordsFromTheKeptFirstRowsAnswerAsTheIndexAlone)
{
    const QString main = QStringLiteral("main");
    QStringList asked;
    const auto ask = [&](const kv::engine::QuickFindQuery& query, int limit) {
        asked << query.expression();
        return kv::engine::QuickFindIndex::match(*m_read, main, query.expression(), limit);
    };
    const QuickFind indexOnly(ask);
    const QuickFind withStarts(ask, [&](const QString& word, int limit) {
        return kv::engine::QuickFindIndex::nameStarts(*m_read, main, word, limit);
    });
    QStringList shortWords;
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    for (QChar a : alphabet) {
        shortWords << QString(a);
        for (QChar b : alphabet)
            shortWords << QString(a) + b;
    }
    shortWords << QStringLiteral("Ž") << QStringLiteral("Če") << QStringLiteral("„a");
    int answered = 0;
    for (const QString& word : shortWords) {
        for (int limit : {QuickFind::Limit, 3}) {
            auto penosOf = [](const std::vector<kv::engine::QuickFindRow>& rows) {
                Penos out;
                for (const auto& r : rows)
                    out.push_back(r.peno);
                return out;
            };
            asked.clear();
            const Penos expected = penosOf(indexOnly.find(word, limit));
            asked.clear();
            EXPECT_EQ(penosOf(withStarts.find(word, limit)), expected) << word.toStdString();
            bool number = false;
            word.toLongLong(&number);
            const QString nameStart = QuickFind::expressions(word).at(number ? 2 : 0);
            if (!asked.contains(nameStart))
                ++answered;
        }
    }
    // Without the kept rows every short word would ask the index.
    EXPECT_EQ(answered, 2 * (alphabet.size() + alphabet.size() * alphabet.size() + 3));
    const auto f = kv::engine::QuickFindIndex::nameStarts(*m_read, main, QStringLiteral("f"), 50);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->size(), 50u);
    EXPECT_EQ(f->front().peno, 1119);
    // More rows than are kept, or a longer word: the index answers.
    EXPECT_FALSE(
        kv::engine::QuickFindIndex::nameStarts(*m_read, main, QStringLiteral("f"), 51).has_value());
    EXPECT_FALSE(kv::engine::QuickFindIndex::nameStarts(*m_read, main, QStringLiteral("fir"), 5)
                     .has_value());
}

TEST_F(QuickFindTest, IndexWithoutKeptFirstRowsStillAnswersShortWords)
{
    const Penos before = penos("f");
    m_read.reset();
    builder()->exec(QStringLiteral("DROP TABLE kv_quickfind_start"));
    m_build.reset();
    m_read = std::make_unique<kv::engine::Database>(m_db.path());
    EXPECT_FALSE(kv::engine::QuickFindIndex::nameStarts(*m_read, QStringLiteral("main"),
                                                        QStringLiteral("f"), 50)
                     .has_value());
    EXPECT_EQ(penos("f"), before);
    EXPECT_EQ(before.size(), 50u);
}

} // namespace
