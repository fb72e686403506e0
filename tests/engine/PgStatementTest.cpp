// Bound parameters and COPY carry any text and any 64-bit number intact:
// quotes, backslashes, dollar quotes, control characters, long texts.
#include "tests/support/ErrorKind.h"
#include "tests/support/PgTestServer.h"

#include "engine/PgConnection.h"
#include "engine/PgCopyIn.h"
#include "engine/PgStatement.h"

#include <gtest/gtest.h>
#include <limits>

using kv::engine::PgConnection;
using kv::engine::PgStatement;

namespace
{

QStringList hostileTexts()
{
    QString huge;
    for (int i = 0; huge.size() < 3 * 1024 * 1024; ++i)
        huge += QStringLiteral("Řádek %1 's \"q\" \\x \t$$;\n").arg(i);
    return {
        QStringLiteral("O'Brien"),
        QStringLiteral("'; DROP TABLE hostile; --"),
        QStringLiteral("\"quoted\" and 'single' and `back`"),
        QStringLiteral("back\\slash \\N \\\\ \\x41"),
        QStringLiteral("$$ dollar $tag$ $1 ?1 :name"),
        QStringLiteral("tab\there\nnew line\r\ncarriage"),
        QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy"),
        QStringLiteral("emoji \U0001F600 and \u00A0nbsp"),
        QString(),
        QStringLiteral(" "),
        huge,
    };
}

const qint64 kNumbers[] = {0,
                           1,
                           -1,
                           (qint64(1) << 32) + 1,
                           (qint64(1) << 32) * 3 + 7,
                           -(qint64(1) << 40),
                           std::numeric_limits<qint64>::max(),
                           std::numeric_limits<qint64>::min()};

class PgValues : public ::testing::Test
{
protected:
    void SetUp() override { c.exec("CREATE TABLE hostile (id bigint, n bigint, s text)"); }
    kvtest::PgTestDatabase db;
    PgConnection c{db.conninfo()};
};

} // namespace

TEST_F(PgValues, PreparedStatementsCarryHostileTextAndBigNumbers)
{
    const QStringList texts = hostileTexts();
    PgStatement insert(c, "INSERT INTO hostile (id, n, s) VALUES ($1, $2, $3)");
    EXPECT_EQ(insert.parameterCount(), 3);
    for (int i = 0; i < int(texts.size()); ++i) {
        insert.bind(1, i);
        insert.bind(2, kNumbers[i % std::size(kNumbers)]);
        insert.bind(3, texts[i]);
        EXPECT_EQ(insert.run().affected(), 1);
    }
    EXPECT_KV_ERROR(insert.bind(4, 1), Engine);
    EXPECT_KV_ERROR(insert.bind(0, 1), Engine);

    // Each text finds its own row by equality and comes back byte for byte.
    PgStatement byText(c, "SELECT id, n, s, length(s) FROM hostile WHERE s = $1");
    for (int i = 0; i < int(texts.size()); ++i) {
        byText.bind(1, texts[i]);
        const auto r = byText.run();
        ASSERT_EQ(r.rows(), 1) << i;
        EXPECT_EQ(r.int64(0, 0), i);
        EXPECT_EQ(r.int64(0, 1), kNumbers[i % std::size(kNumbers)]);
        EXPECT_TRUE(r.text(0, 2) == texts[i]) << i;
        EXPECT_EQ(r.int64(0, 3), texts[i].toUcs4().size()) << i;
    }
    EXPECT_EQ(c.query("SELECT count(*) FROM hostile").int64(0, 0), texts.size());

    // Numbers past 2^32 compare as numbers on the server, not as text or int.
    PgStatement byNumber(c, "SELECT count(*) FROM hostile WHERE n = $1 AND n + 0 = $1");
    byNumber.bind(1, (qint64(1) << 32) + 1);
    EXPECT_EQ(byNumber.run().int64(0, 0), 1);
    byNumber.bindNull(1);
    EXPECT_EQ(byNumber.run().int64(0, 0), 0);
}

TEST_F(PgValues, CopyCarriesTheSameValues)
{
    const QStringList texts = hostileTexts();
    {
        kv::engine::PgCopyIn copy(c, "hostile", {"id", "n", "s"});
        for (int i = 0; i < int(texts.size()); ++i) {
            copy.add(qint64(i));
            copy.add(kNumbers[i % std::size(kNumbers)]);
            copy.add(texts[i]);
            copy.endRow();
        }
        copy.add(qint64(99));
        copy.addNull();
        copy.addNull();
        copy.endRow();
        EXPECT_EQ(copy.finish(), texts.size() + 1);
    }
    const auto r = c.query("SELECT id, n, s FROM hostile ORDER BY id");
    ASSERT_EQ(r.rows(), texts.size() + 1);
    for (int i = 0; i < int(texts.size()); ++i) {
        EXPECT_EQ(r.int64(i, 1), kNumbers[i % std::size(kNumbers)]) << i;
        EXPECT_TRUE(r.text(i, 2) == texts[i]) << i << " " << r.text(i, 2).left(60).toStdString();
    }
    // NULL stays NULL, and the text "\N" stays text.
    const int last = int(texts.size());
    EXPECT_TRUE(r.isNull(last, 1));
    EXPECT_TRUE(r.isNull(last, 2));
    EXPECT_FALSE(r.isNull(3, 2));
    EXPECT_KV_ERROR(r.int64(last, 1), Engine);
}

TEST_F(PgValues, QueryParametersAndIdentifiers)
{
    // query() binds like a prepared statement; identifier() quotes names.
    const QString odd = QStringLiteral("tab\"le; drop");
    c.exec(QStringLiteral("CREATE TABLE %1 (v text)").arg(c.identifier(odd)));
    c.query(QStringLiteral("INSERT INTO %1 VALUES ($1)").arg(c.identifier(odd)),
            {QStringLiteral("it's")});
    const auto r = c.query(QStringLiteral("SELECT v FROM %1 WHERE v = $1").arg(c.identifier(odd)),
                           {QStringLiteral("it's")});
    ASSERT_EQ(r.rows(), 1);
    EXPECT_EQ(r.text(0, 0), "it's");
    EXPECT_EQ(c.query("SELECT $1::bigint * 2", {qint64(1) << 33}).int64(0, 0), qint64(1) << 34);
    EXPECT_TRUE(c.query("SELECT $1::text IS NULL", {QVariant()}).text(0, 0) == "t");
}
