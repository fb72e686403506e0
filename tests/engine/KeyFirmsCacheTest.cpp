// The firms of a key of a link table (KeyFirmLists) are exactly what the
// table holds for the key, ascending and distinct, whether they come from
// the table or from a copy remembered for the file (KeyFirmsCache); a copy
// that is damaged, foreign, of another state of the file or not a list of
// ascending numbers is read again from the table.
#include "engine/KeyFirmsCache.h"
#include "engine/CacheSideFile.h"
#include "engine/Database.h"
#include "engine/KeyFirmLists.h"
#include "engine/Statement.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/FailingIo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

using namespace kv::engine;

namespace
{

const QString Link = QStringLiteral("slnazev_p");
const QString Key = QStringLiteral("id");
constexpr qint64 Min = std::numeric_limits<qint64>::min();
constexpr qint64 Max = std::numeric_limits<qint64>::max();

// Key 1: 500 firms, some past 32 bits, some named twice; key 2: the extremes
// of 64 bits and numbers far apart; key 3: one firm; key 4: none.
class KeyFirmsCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        company.exec(QStringLiteral("BEGIN"));
        for (int p = 1; p <= 500; ++p) {
            const qint64 firm = p % 3 ? p * 7 : (qint64(p) << 35) + 1;
            company.insert(Link, {1, firm});
            if (p % 17 == 0)
                company.insert(Link, {1, firm});
        }
        for (qint64 firm : {Max, Min, qint64(-5), qint64(0), qint64(1) << 62, Min + 1, Max - 1})
            company.insert(Link, {2, firm});
        company.insert(Link, {3, 42});
        company.exec(QStringLiteral("COMMIT"));
        company.finish();
        company.done();
    }

    QString path() const { return company.path(); }
    QString side(qint64 key) const
    {
        return KeyFirmsCache::sideFilePath(path(), Link, Key, key, KeyFirmsCache::defaultDir());
    }
    std::vector<qint64> fromTable(qint64 key) const
    {
        const Database db(path());
        Statement st(db, QStringLiteral("SELECT DISTINCT peno FROM slnazev_p WHERE id = ?1 "
                                        "ORDER BY peno"));
        st.bind(1, key);
        std::vector<qint64> out;
        while (st.step())
            out.push_back(st.int64(0));
        return out;
    }
    // What a fresh read-only open finds in the copy alone.
    std::optional<std::vector<qint64>> remembered(qint64 key) const
    {
        return KeyFirmsCache(path(), Link, Key).load(key);
    }
    // The lists as the program reads them on a fresh open, every list long.
    void expectListsOnOpen(std::initializer_list<qint64> keys) const
    {
        const Database db(path());
        KeyFirmLists lists(db, Link, Key, 1);
        for (qint64 key : keys)
            EXPECT_EQ(lists.firms(key), fromTable(key)) << key;
    }
    QByteArray sideBytes(qint64 key) const
    {
        QFile f(side(key));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
    void replaceSide(qint64 key, const QByteArray& bytes) const
    {
        QFile f(side(key));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    kvtest::CompanyDb company;
};

} // namespace

TEST_F(KeyFirmsCacheTest, RememberedListsAreTheOnesTheTableGives)
{
    ASSERT_EQ(fromTable(1).size(), 500u);
    ASSERT_EQ(fromTable(2).front(), Min);
    ASSERT_EQ(fromTable(2).back(), Max);
    for (qint64 key : {1, 2, 3})
        EXPECT_FALSE(remembered(key));
    expectListsOnOpen({1, 2, 3, 4, 1});
    for (qint64 key : {1, 2, 3}) {
        const std::optional<std::vector<qint64>> copy = remembered(key);
        ASSERT_TRUE(copy) << key;
        EXPECT_EQ(*copy, fromTable(key)) << key;
    }
    EXPECT_FALSE(QFile::exists(side(4))) << "no list, nothing to remember";
    expectListsOnOpen({3, 2, 1});

    // Short lists stay unremembered; a writing connection neither reads nor
    // writes copies, as it may change the file under them.
    for (qint64 key : {1, 2, 3})
        ASSERT_TRUE(QFile::remove(side(key)));
    {
        const Database db(path());
        KeyFirmLists lists(db, Link, Key, 7);
        EXPECT_EQ(lists.firms(1), fromTable(1));
        EXPECT_EQ(lists.firms(2), fromTable(2));
        EXPECT_EQ(lists.firms(3), fromTable(3));
    }
    EXPECT_TRUE(QFile::exists(side(1)));
    EXPECT_TRUE(QFile::exists(side(2))) << "seven firms: long enough";
    EXPECT_FALSE(QFile::exists(side(3)));
    {
        const Database writer(path(), Database::Mode::ReadWrite);
        KeyFirmLists lists(writer, Link, Key, 1);
        replaceSide(1, sideBytes(2)); // a copy the writer would wrongly take
        EXPECT_EQ(lists.firms(1), fromTable(1));
        EXPECT_EQ(lists.firms(3), fromTable(3));
    }
    EXPECT_FALSE(QFile::exists(side(3)));
}

TEST_F(KeyFirmsCacheTest, DamagedOrForeignCopiesAreReadAgain)
{
    expectListsOnOpen({1, 2});
    const QByteArray whole = sideBytes(1);
    const QByteArray ofKey2 = sideBytes(2);
    ASSERT_TRUE(remembered(1));

    QByteArray flipped = whole;
    flipped[flipped.size() - 3] = char(flipped.at(flipped.size() - 3) ^ 0x01);
    QByteArray otherCount = whole;
    otherCount.replace(QByteArrayLiteral(" 500 "), QByteArrayLiteral(" 499 "));
    ASSERT_NE(otherCount, whole);
    const struct {
        const char* what;
        QByteArray bytes;
    } damaged[] = {
        {"cut short", whole.left(whole.size() - 1)},
        {"cut in the header", whole.left(30)},
        {"longer", whole + QByteArrayLiteral("x")},
        {"a bit changed", flipped},
        {"another count", otherCount},
        {"the copy of another key", ofKey2},
        {"garbage", QByteArray(whole.size(), '\x9f')},
        {"empty", QByteArray()},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.what);
        replaceSide(1, d.bytes);
        EXPECT_FALSE(remembered(1));
        expectListsOnOpen({1});
        EXPECT_EQ(sideBytes(1), whole) << "remembered afresh";
    }
}

TEST_F(KeyFirmsCacheTest, OnlyAscendingDistinctNumbersAreTakenFromACopy)
{
    // Copies with a good header and hash around contents the program never
    // writes: each must be refused whole, never partly used.
    expectListsOnOpen({3});
    const QByteArray whole = sideBytes(3);
    const QString identity = QString::fromUtf8(whole.split('\n').at(1));
    const auto copyOf = [&](qint64 count, const QByteArray& contents) {
        const QByteArray what = QByteArrayLiteral("slnazev_p id 3 ") + QByteArray::number(count);
        CacheSideFile::write(side(3), QByteArrayLiteral("kvelta key firms 1"), identity, what,
                             contents);
        return remembered(3);
    };
    // 42 alone: the copy the program made.
    ASSERT_EQ(copyOf(1, QByteArray(1, char(42))), std::vector<qint64>{42});
    EXPECT_EQ(copyOf(2, QByteArray("\x2a\x05", 2)), (std::vector<qint64>{42, 47}));
    EXPECT_FALSE(copyOf(2, QByteArray("\x2a\x00", 2))) << "a firm twice";
    EXPECT_FALSE(copyOf(2, QByteArray("\x01\xff\xff\xff\xff\xff\xff\xff\xff\xff\x01", 11)))
        << "a step that wraps below the first";
    EXPECT_FALSE(copyOf(1, QByteArray(11, '\x80') + '\x01')) << "a number of eleven groups";
    EXPECT_FALSE(copyOf(1, QByteArray("\x80", 1))) << "a number cut off";
    EXPECT_FALSE(copyOf(3, QByteArray("\x01\x01", 2))) << "fewer than counted";
    EXPECT_FALSE(copyOf(1, QByteArray("\x01\x01", 2))) << "more than counted";
    EXPECT_FALSE(copyOf(Max, QByteArray(1, char(42)))) << "a count past the file";
    expectListsOnOpen({3});
    EXPECT_EQ(sideBytes(3), whole);
}

TEST_F(KeyFirmsCacheTest, ChangedFileOrLinkedCopyIsNotTrusted)
{
    expectListsOnOpen({1});
    ASSERT_TRUE(remembered(1));
    {
        Database writer(path(), Database::Mode::ReadWrite);
        writer.exec(QStringLiteral("DELETE FROM slnazev_p WHERE id = 1 AND peno < 100"));
    }
    EXPECT_FALSE(remembered(1)) << "made for the state before";
    expectListsOnOpen({1});
    ASSERT_EQ(remembered(1), fromTable(1));

    // A copy that is a link to another file is neither read nor written
    // through.
    ASSERT_TRUE(QFile::remove(side(1)));
    const QString elsewhere = path() + QStringLiteral(".elsewhere");
    {
        QFile f(elsewhere);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    ASSERT_TRUE(QFile::link(elsewhere, side(1)));
    expectListsOnOpen({1});
    QFile f(elsewhere);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArrayLiteral("kept"));
}

TEST_F(KeyFirmsCacheTest, ACacheFolderThatCannotBeWrittenOnlyCostsTheCopies)
{
    // The cache folder's place taken by a plain file: nothing can be kept,
    // and every list still comes whole from the table.
    const QString folder = KeyFirmsCache::defaultDir();
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(folder).absolutePath()));
    {
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
    }
    expectListsOnOpen({1, 2, 3, 4});
    expectListsOnOpen({2, 1});
    EXPECT_FALSE(remembered(1));
    EXPECT_TRUE(QFileInfo(folder).isFile());
    QFile::remove(folder);
}

TEST_F(KeyFirmsCacheTest, AFailingDiskKeepsTheEarlierCopyWholeAndLeavesNoDraft)
{
    expectListsOnOpen({1});
    const QByteArray earlier = sideBytes(1);
    for (const auto& [call, error] : {std::pair{kvtest::FailingIo::Write, ENOSPC},
                                      {kvtest::FailingIo::Write, EIO},
                                      {kvtest::FailingIo::Close, EIO}}) {
        SCOPED_TRACE(int(call) * 1000 + error);
        // Another state of the file, so the next read makes a new copy.
        Database(path(), Database::Mode::ReadWrite)
            .exec(QStringLiteral("CREATE TABLE scratch(a); DROP TABLE scratch"));
        {
            const kvtest::FailingIo failing(call, 1, error);
            expectListsOnOpen({1});
            EXPECT_GT(kvtest::FailingIo::calls(), 0) << "the copy was tried";
        }
        EXPECT_EQ(sideBytes(1), earlier);
        EXPECT_FALSE(remembered(1)) << "made for the state before";
        EXPECT_TRUE(QDir(KeyFirmsCache::defaultDir())
                        .entryList({QStringLiteral(".*kvdraft*")}, QDir::Files | QDir::Hidden)
                        .isEmpty());
    }
    expectListsOnOpen({1});
    EXPECT_EQ(remembered(1), fromTable(1)) << "a working disk keeps it again";
}
