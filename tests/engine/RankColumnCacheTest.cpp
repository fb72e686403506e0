// The remembered copy of a rank column (RankColumnCache) gives exactly the
// column the rank index gives, and only for the very state of the file it
// was made for: a damaged, cut short or foreign copy, or a changed file, is
// read again from the index and remembered afresh.
#include "engine/RankColumnCache.h"
#include "core/Error.h"
#include "engine/Database.h"
#include "engine/RankColumn.h"
#include "engine/RankColumnWarmUp.h"
#include "engine/Statement.h"
#include "tests/support/CompanyDb.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cstring>
#include <limits>

using namespace kv::engine;

namespace
{

const QString Firma = QStringLiteral("firma");
const QString Misto = QStringLiteral("misto");

void expectSameColumn(const RankColumn& ours, const RankColumn& read)
{
    ASSERT_EQ(ours.size(), read.size());
    for (size_t p = 0; p < read.size(); ++p) {
        ASSERT_EQ(ours.rowAt(p), read.rowAt(p)) << p;
        ASSERT_EQ(ours.rankAt(p), read.rankAt(p)) << p;
    }
    for (qint64 rowid = -1; rowid <= qint64(read.size()) + 2; ++rowid)
        ASSERT_EQ(ours.place(rowid), read.place(rowid)) << rowid;
}

class RankColumnCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        company.manyFirms(3000); // 97 towns: long runs of one rank, in rowid order
        company.exec(QStringLiteral("DELETE FROM firma WHERE peno % 11 = 0"));
        company.finish();
        company.done();
    }

    QString path() const { return company.path(); }
    QString side() const
    {
        return RankColumnCache::sideFilePath(path(), Firma, Misto, RankColumnCache::defaultDir());
    }
    // What a fresh read-only open finds in the copy, without reading the index.
    std::unique_ptr<RankColumn> remembered() const
    {
        const Database db(path());
        return RankColumnCache(path(), Firma, Misto).load(db.rankedRows(Firma));
    }
    // The column as the program gets it on a fresh open, checked against the index.
    void expectColumnOnOpen() const
    {
        const Database db(path());
        const RankColumn read(db, Firma, Misto);
        expectSameColumn(db.rankColumn(Firma, Misto), read);
    }
    QByteArray sideBytes() const
    {
        QFile f(side());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    void replaceSide(const QByteArray& bytes) const
    {
        QFile f(side());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    kvtest::CompanyDb company;
};

} // namespace

TEST_F(RankColumnCacheTest, RememberedColumnIsTheOneTheIndexGives)
{
    EXPECT_FALSE(remembered());
    expectColumnOnOpen();
    ASSERT_TRUE(QFile::exists(side())) << "the first read is remembered";
    const std::unique_ptr<RankColumn> copy = remembered();
    ASSERT_TRUE(copy);
    const Database db(path());
    expectSameColumn(*copy, RankColumn(db, Firma, Misto));
    expectColumnOnOpen();

    // A writing connection may change the file under a copy: it reads.
    QFile::remove(side());
    {
        Database writer(path(), Database::Mode::ReadWrite);
        writer.rankColumn(Firma, Misto);
    }
    EXPECT_FALSE(QFile::exists(side()));
}

TEST_F(RankColumnCacheTest, DamagedOrForeignCopiesAreReadAgain)
{
    expectColumnOnOpen();
    const QByteArray whole = sideBytes();
    constexpr int Rows = 3000 - 3000 / 11;
    ASSERT_GT(whole.size(), Rows * 8);
    ASSERT_TRUE(remembered());

    // The last rank one higher: still an order, so only the hash tells.
    QByteArray raised = whole;
    qint32 last = 0;
    std::memcpy(&last, raised.constData() + raised.size() - 4, 4);
    ++last;
    std::memcpy(raised.data() + raised.size() - 4, &last, 4);
    QByteArray otherRows = whole;
    otherRows.replace(QByteArrayLiteral(" 2728 "),
                      QByteArrayLiteral(" 2727 ")); // rows in the header
    ASSERT_NE(otherRows, whole);
    QByteArray garbage(whole.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919) >> 3);
    const struct {
        const char* what;
        QByteArray bytes;
    } damaged[] = {
        {"cut short", whole.left(whole.size() - 1)},
        {"cut to the header", whole.left(whole.size() - Rows * 8)},
        {"longer", whole + QByteArrayLiteral("x")},
        {"a rank changed", raised},
        {"another row count", otherRows},
        {"garbage", garbage},
        {"empty", QByteArray()},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.what);
        replaceSide(d.bytes);
        EXPECT_FALSE(remembered());
        expectColumnOnOpen();
        EXPECT_EQ(sideBytes(), whole) << "remembered afresh";
    }

    // The copy of another database: made for the same path, then the file
    // replaced by one with as many firms in other towns.
    kvtest::CompanyDb other;
    other.manyFirms(3000);
    other.exec(QStringLiteral("DELETE FROM firma WHERE peno % 11 = 0"));
    other.exec(QStringLiteral("UPDATE firma SET misto = 'Obec ' || (peno % 89)"));
    other.finish();
    other.done();
    const QString ownCopy = path() + QStringLiteral(".own");
    ASSERT_TRUE(QFile::rename(path(), ownCopy));
    ASSERT_TRUE(QFile::copy(other.path(), path()));
    EXPECT_FALSE(remembered());
    expectColumnOnOpen();
    EXPECT_NE(sideBytes(), whole);
}

TEST_F(RankColumnCacheTest, ChangedFileIsReadAgain)
{
    expectColumnOnOpen();
    ASSERT_TRUE(remembered());
    {
        Database writer(path(), Database::Mode::ReadWrite);
        writer.exec(QStringLiteral("CREATE TABLE scratch(a); DROP TABLE scratch"));
    }
    EXPECT_FALSE(remembered());
    expectColumnOnOpen();
    EXPECT_TRUE(remembered());
}

TEST(RankColumnFromOrder, OnlyAnOrderOfDistinctRowsIsTaken)
{
    const auto column = [](std::vector<quint32> rows, std::vector<qint32> ranks) {
        return RankColumn::fromOrder(LargeArray<quint32>(rows.begin(), rows.end()),
                                     LargeArray<qint32>(ranks.begin(), ranks.end()));
    };
    const std::unique_ptr<RankColumn> ok = column({4, 1, 3, 2}, {0, 5, 5, 9});
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->place(3), 2);
    EXPECT_EQ(ok->rank(2), 9);
    EXPECT_EQ(ok->place(0), -1);
    EXPECT_FALSE(column({4, 3, 1, 2}, {0, 5, 5, 9})) << "a tie not in rowid order";
    EXPECT_FALSE(column({4, 1, 3, 2}, {0, 5, 4, 9})) << "ranks not ascending";
    EXPECT_FALSE(column({4, 1, 1, 2}, {0, 5, 6, 9})) << "a row twice";
    EXPECT_FALSE(column({4, 1, 3, 1}, {0, 5, 5, 9})) << "a row twice, apart";
    EXPECT_FALSE(column({4, 1, 3}, {0, 5, 5, 9})) << "lengths differ";
    EXPECT_FALSE(column({1, quint32(std::numeric_limits<qint32>::max()) + 1}, {0, 1}));
    const std::unique_ptr<RankColumn> scattered = column({5, 900000}, {1, 2});
    ASSERT_TRUE(scattered);
    EXPECT_EQ(scattered->place(900000), 1);
    EXPECT_FALSE(column({900000, 5, 900000}, {1, 2, 3})) << "a row twice, scattered";
}

TEST_F(RankColumnCacheTest, WarmUpKeepsTheColumnsASortWillReadAndLeavesWholeCopiesAlone)
{
    const QString nazev = QStringLiteral("nazev");
    const QString nazevSide =
        RankColumnCache::sideFilePath(path(), Firma, nazev, RankColumnCache::defaultDir());
    {
        RankColumnWarmUp warmUp(path(), Firma, {nazev, Misto, QStringLiteral("peno")});
        warmUp.wait();
    }
    ASSERT_TRUE(QFile::exists(side()));
    ASSERT_TRUE(QFile::exists(nazevSide));
    const Database db(path());
    expectSameColumn(*remembered(), RankColumn(db, Firma, Misto));
    const std::unique_ptr<RankColumn> names =
        RankColumnCache(path(), Firma, nazev).load(db.rankedRows(Firma));
    ASSERT_TRUE(names);
    expectSameColumn(*names, RankColumn(db, Firma, nazev));
    // This file's copies only (the folder is shared by the tests of a process).
    const QString ours = QFileInfo(side()).fileName().section(u'-', 0, 1) + u'*';
    EXPECT_EQ(QDir(RankColumnCache::defaultDir()).entryList({ours}, QDir::Files).size(), 2)
        << "peno has no ranks";

    // Whole copies stay as they are; a damaged one is made afresh.
    const QDateTime kept = QFileInfo(nazevSide).lastModified();
    replaceSide(sideBytes().left(100));
    QThread::msleep(20);
    RankColumnWarmUp(path(), Firma, {nazev, Misto}).wait();
    EXPECT_EQ(QFileInfo(nazevSide).lastModified(), kept);
    ASSERT_TRUE(remembered());
    expectSameColumn(*remembered(), RankColumn(db, Firma, Misto));

    // Stopped at once, again and again: never a half copy or a draft.
    for (int i = 0; i < 20; ++i) {
        QFile::remove(side());
        RankColumnWarmUp stopped(path(), Firma, {Misto});
    }
    if (QFile::exists(side()))
        expectSameColumn(*remembered(), RankColumn(db, Firma, Misto));
    EXPECT_TRUE(QDir(RankColumnCache::defaultDir())
                    .entryList({QStringLiteral(".*kvdraft*")}, QDir::Files | QDir::Hidden)
                    .isEmpty());
}

TEST(DatabaseStopFlag, StopsARunningStatementAndCanBeTakenAway)
{
    kvtest::CompanyDb company;
    company.done();
    Database db(company.path());
    const QString longRun =
        QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                       "WHERE x < 1000000) SELECT sum(x) FROM n");
    std::atomic<bool> stop{true};
    db.setStopFlag(&stop);
    EXPECT_THROW(
        {
            Statement st(db, longRun);
            st.step();
        },
        kv::Error);
    stop = false;
    {
        Statement st(db, QStringLiteral("SELECT 6 * 7"));
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.int64(0), 42);
    }
    stop = true;
    db.setStopFlag(nullptr);
    Statement st(db, longRun);
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.int64(0), qint64(1000000) * 1000001 / 2);
}
