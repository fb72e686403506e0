// The remembered result of the rank check (RankCheckCache) is used only for
// the very state of the file it was made for: any change to the firms shows
// as a stale rank table on the next open, whatever else stayed the same.
#include "engine/RankCheckCache.h"
#include "engine/Database.h"
#include "tests/support/CompanyDb.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>

using namespace kv::engine;

namespace
{

class RankCheckCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A finished company database, as the generators leave it.
        for (const auto& [peno, name] : {std::pair{1, "Dobrá firma"},
                                         {2, "Čech a syn"},
                                         {3, "Cyril s.r.o."},
                                         {4, "Chrudimská"}})
            company.firm(peno, QString::fromUtf8(name));
        company.finish();
        company.done();
    }

    // The warnings of a fresh read-only open, as the program opens the file.
    QStringList warningsOnOpen() const { return Database(path()).rankWarnings(); }
    void write(const QString& sql) const { Database(path(), Database::Mode::ReadWrite).exec(sql); }
    QString side() const
    {
        return RankCheckCache::sideFilePath(path(), RankCheckCache::defaultDir());
    }

    QString path() const { return company.path(); }

    kvtest::CompanyDb company;
};

const QString AddFirm = QStringLiteral("INSERT INTO firma (peno, nazev) VALUES (99999999, 'Nová')");
const QString RemoveAddedFirm = QStringLiteral("DELETE FROM firma WHERE peno = 99999999");

} // namespace

TEST_F(RankCheckCacheTest, EveryChangeAfterARememberedCheckIsSeen)
{
    EXPECT_TRUE(warningsOnOpen().isEmpty());
    ASSERT_TRUE(QFile::exists(side())) << "the first open remembers its check";
    EXPECT_TRUE(warningsOnOpen().isEmpty());

    write(AddFirm);
    ASSERT_EQ(warningsOnOpen().size(), 1);
    EXPECT_TRUE(warningsOnOpen().first().contains(QStringLiteral("firma")));
    write(RemoveAddedFirm);
    EXPECT_TRUE(warningsOnOpen().isEmpty()) << "the ranks fit the rows again";
    write(QStringLiteral("DELETE FROM firma WHERE peno = 3"));
    EXPECT_EQ(warningsOnOpen().size(), 1);
    write(QStringLiteral("DELETE FROM firma"));
    EXPECT_EQ(warningsOnOpen().size(), 1);
}

TEST_F(RankCheckCacheTest, ChangeBehindAnOldModificationTimeIsSeen)
{
    ASSERT_TRUE(warningsOnOpen().isEmpty());
    const QByteArray file = QFile::encodeName(path());
    struct stat before {
    };
    ASSERT_EQ(::stat(file.constData(), &before), 0);
    write(AddFirm);
    // The modification time put back to the nanosecond, as a copy tool would.
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.constData(), times, 0), 0);
    struct stat after {
    };
    ASSERT_EQ(::stat(file.constData(), &after), 0);
    ASSERT_EQ(after.st_size, before.st_size) << "the row fits a page that was there";
    EXPECT_EQ(warningsOnOpen().size(), 1);
}

TEST_F(RankCheckCacheTest, ChangesWaitingInAWriteAheadLogAreSeen)
{
    Database writer(path(), Database::Mode::ReadWrite);
    writer.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    ASSERT_TRUE(warningsOnOpen().isEmpty());
    // The main file stays exactly as it was; the row is only in the log.
    writer.exec(AddFirm);
    ASSERT_GT(QFileInfo(path() + QStringLiteral("-wal")).size(), 0);
    EXPECT_EQ(warningsOnOpen().size(), 1);
}

TEST_F(RankCheckCacheTest, RememberedResultServesOnlyTheStateItWasMadeFor)
{
    ASSERT_TRUE(warningsOnOpen().isEmpty());
    // A remembered result that says the ranks are stale is believed while
    // the file is unchanged: the check is really skipped.
    QFile file(side());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    file.close();
    bool found = false;
    for (QString& line : lines) {
        if (line.startsWith(QStringLiteral("firma "))) {
            QStringList f = line.split(u' ');
            f[5] = QString::number(f[5].toLongLong() + 1); // the rank table's count
            line = f.join(u' ');
            found = true;
        }
    }
    ASSERT_TRUE(found);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join(u'\n').toUtf8());
    file.close();
    EXPECT_EQ(warningsOnOpen().size(), 1);

    // Any write to the file makes it another state, checked afresh.
    write(QStringLiteral("CREATE TABLE scratch(a); DROP TABLE scratch"));
    EXPECT_TRUE(warningsOnOpen().isEmpty());
}

TEST_F(RankCheckCacheTest, WritingConnectionsCheckEveryTime)
{
    // A builder changes the file under its own connection; its catalogue
    // must always be read from the rows.
    Database writer(path(), Database::Mode::ReadWrite);
    EXPECT_TRUE(writer.rankWarnings().isEmpty());
    writer.exec(AddFirm);
    writer.reloadCatalog();
    EXPECT_EQ(writer.rankWarnings().size(), 1);
}

TEST_F(RankCheckCacheTest, LargeTablesCheckedOnTwoConnectionsFindWhatOneFinds)
{
    // Over a million rows in the checked tables: a read-only open shares
    // them out to a second connection; a writing one reads alone. The IČO
    // dictionary's rows are the even numbers, so a rank row moved to an odd
    // one leaves count and range alike and only the key sum tells.
    constexpr int Rows = 600000;
    write(QStringLiteral("BEGIN;"
                         "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                         "WHERE x < %1) INSERT INTO slico(rowid, ico, peno) "
                         "SELECT 2 * x, printf('%08d', x), x FROM n;"
                         "DELETE FROM kv_rank_slico;"
                         "INSERT INTO kv_rank_slico(rid, ico) SELECT rowid, rowid FROM slico;"
                         "COMMIT")
              .arg(Rows));
    const auto expectOnBoth = [this](int warnings) {
        QFile::remove(side());
        const Database readOnly(path());
        const Database writer(path(), Database::Mode::ReadWrite);
        EXPECT_EQ(readOnly.rankWarnings(), writer.rankWarnings());
        EXPECT_EQ(readOnly.rankWarnings().size(), warnings);
        EXPECT_EQ(readOnly.hasRank(QStringLiteral("slico"), QStringLiteral("ico")), warnings == 0);
        EXPECT_EQ(readOnly.hasRank(QStringLiteral("firma"), QStringLiteral("nazev")), true);
        EXPECT_EQ(readOnly.rankedRows(QStringLiteral("slico")), warnings == 0 ? Rows : 0);
    };
    expectOnBoth(0);
    write(QStringLiteral("UPDATE kv_rank_slico SET rid = 600001 WHERE rid = 600000"));
    expectOnBoth(1);
    write(QStringLiteral("UPDATE kv_rank_slico SET rid = 600000 WHERE rid = 600001"));
    expectOnBoth(0);
}
