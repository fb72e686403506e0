// The import into SQLite: names and declared types, values, the company
// schema check, the untouched Jet file and what a failure leaves behind.
#include "jetimport/JetImport.h"
#include "engine/Database.h"
#include "engine/Statement.h"
#include "tests/jetimport/JetSamples.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::engine::Database;
using kv::engine::Statement;
using kv::jet::JetImport;

namespace
{

QString one(const Database& db, const QString& sql)
{
    Statement st(db, sql);
    return st.step() ? st.text(0) : QStringLiteral("<no row>");
}

QByteArray sha(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class JetImportTest : public ::testing::Test
{
protected:
    QString out(const char* name = "out.db") const { return dir.filePath(name); }
    // Everything in the folder but the given names: leftovers of an import.
    QStringList others(const QStringList& expected = {}) const
    {
        QStringList found = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString& e : expected)
            found.removeAll(e);
        return found;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(JetImportTest, KeepsNamesTypesAndValues)
{
    JetImport import;
    ASSERT_TRUE(import.run(kvtest::jetSample("testV1997.mdb"), out()))
        << import.error().toStdString();
    EXPECT_EQ(import.tableCount(), 4);
    EXPECT_EQ(import.rowCount(), 2);
    EXPECT_EQ(others({"out.db"}), QStringList());

    Database db(out());
    QStringList columns;
    Statement info(db, "SELECT name || ' ' || type FROM pragma_table_info('Table1')");
    while (info.step())
        columns << info.text(0);
    EXPECT_EQ(columns, QStringList({"A VARCHAR(50)", "B VARCHAR(100)", "C TINYINT", "D SMALLINT",
                                    "E INTEGER", "F DOUBLE", "G DATETIME", "H REAL", "I BOOLEAN"}));
    EXPECT_EQ(one(db, "SELECT count(*) FROM Table2"), "0");
    EXPECT_EQ(one(db, "SELECT count(*) FROM pragma_table_info('Table2')"), "89");
    EXPECT_EQ(one(db, "SELECT A||'|'||B||'|'||C||'|'||D||'|'||E||'|'||F||'|'||G||'|'||H||'|'||I "
                      "FROM Table1 WHERE A='abcdefg'"),
              "abcdefg|hijklmnop|2|222|333333333|444.555|1974-09-21 00:00:00|3.5|1");
    EXPECT_EQ(one(db, "SELECT typeof(C)||typeof(F)||typeof(G)||typeof(H)||typeof(I) FROM Table1 "
                      "WHERE A='abcdefg'"),
              "integerrealtextrealinteger");
}

TEST_F(JetImportTest, CentralEuropeanAndUnicodeTextArrives)
{
    JetImport jet3;
    ASSERT_TRUE(jet3.run(kvtest::jetSample("testIndexCodesV1997.mdb"), out()));
    EXPECT_EQ(jet3.tableCount(), 29);
    {
        Database db(out());
        EXPECT_EQ(one(db, "SELECT count(*) FROM Table14"), "256");
        EXPECT_EQ(one(db, "SELECT data FROM Table14 WHERE name='row200'"),
                  QString::fromUtf8("aČa"));
        EXPECT_EQ(one(db, "SELECT data FROM Table14 WHERE name='row138'"),
                  QString::fromUtf8("aŠa"));
        EXPECT_EQ(one(db, "SELECT data FROM Table14 WHERE name='row248'"),
                  QString::fromUtf8("ařa"));
    }
    JetImport jet4;
    ASSERT_TRUE(jet4.run(kvtest::jetSample("testUnicodeCompV2003.mdb"), out("u.db")));
    Database db(out("u.db"));
    EXPECT_EQ(one(db, "SELECT Unicode FROM \"Table\" WHERE ID=3"), QString::fromUtf8("Мир"));
    EXPECT_EQ(one(db, "SELECT Unicode FROM \"Table\" WHERE ID=5"),
              QString::fromUtf8("漢字仮名交じり文"));
}

TEST_F(JetImportTest, ReportsTheMissingCompanyTables)
{
    JetImport import;
    ASSERT_TRUE(import.run(kvtest::jetSample("testV1997.mdb"), out()));
    EXPECT_EQ(import.gaps().tables,
              QStringList({"firma", "osoby", "reklamy", "pzatrid", "radky", "mista", "okresy",
                           "zatrid", "slnazev", "slulice", "slradky", "slico", "slnazev_p",
                           "slulice_p", "slradky_p"}));
    EXPECT_TRUE(import.gaps().describe().startsWith("Missing tables: firma, osoby,"));
    EXPECT_TRUE(QFile::exists(out())); // kept unless the company schema is required

    JetImport strict({QString(), true, 0});
    EXPECT_FALSE(strict.run(kvtest::jetSample("testV1997.mdb"), out("strict.db")));
    EXPECT_TRUE(strict.error().contains("not a complete company database"));
    EXPECT_TRUE(strict.error().contains("Missing tables: firma"));
    EXPECT_FALSE(QFile::exists(out("strict.db")));
    EXPECT_EQ(others({"out.db"}), QStringList());
}

TEST_F(JetImportTest, NeverChangesTheJetFile)
{
    const QString copy = dir.filePath("copy.mdb");
    ASSERT_TRUE(QFile::copy(kvtest::jetSample("testIndexCodesV1997.mdb"), copy));
    const QByteArray before = sha(copy);
    JetImport import;
    ASSERT_TRUE(import.run(copy, out()));
    EXPECT_EQ(sha(copy), before);
}

TEST_F(JetImportTest, NotAJetFileLeavesNothing)
{
    const QString bogus = dir.filePath("notes.mdb");
    QFile f(bogus);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(8192, 'x'));
    f.close();
    JetImport import;
    EXPECT_FALSE(import.run(bogus, out()));
    EXPECT_TRUE(import.error().contains(bogus)) << import.error().toStdString();
    EXPECT_TRUE(import.error().contains("not a Microsoft Jet database"));
    EXPECT_EQ(others({"notes.mdb"}), QStringList());

    EXPECT_FALSE(import.run(dir.filePath("absent.mdb"), out()));
    EXPECT_TRUE(import.error().contains("absent.mdb"));
    EXPECT_EQ(others({"notes.mdb"}), QStringList());
}

TEST_F(JetImportTest, DamagedJetFileFailsAndLeavesNothing)
{
    QFile sample(kvtest::jetSample("testIndexCodesV1997.mdb"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    const QByteArray whole = sample.readAll();
    // Half the pages (catalogue but not all data), the 18 pages before the
    // catalogue, and a cut in the middle of a page.
    const std::pair<qsizetype, const char*> cuts[] = {
        {whole.size() / 2, "rows of table"},
        {18 * 2048, "list of tables cannot be read"},
        {20000, "ends in the middle of a page"},
    };
    for (const auto& [length, reason] : cuts) {
        const QString cut = dir.filePath("cut.mdb");
        QFile f(cut);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(whole.left(length));
        f.close();
        JetImport import;
        EXPECT_FALSE(import.run(cut, out())) << length;
        EXPECT_TRUE(import.error().contains(cut)) << import.error().toStdString();
        EXPECT_TRUE(import.error().contains(reason)) << import.error().toStdString();
        EXPECT_EQ(others({"cut.mdb"}), QStringList());
    }
}

TEST_F(JetImportTest, AnExistingTargetIsNotReplaced)
{
    QFile f(out());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("mine");
    f.close();
    JetImport import;
    EXPECT_FALSE(import.run(kvtest::jetSample("testV1997.mdb"), out()));
    EXPECT_TRUE(import.error().contains("exists already"));
    QFile back(out());
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), "mine");
}

TEST_F(JetImportTest, ReportsProgressPerTable)
{
    QStringList calls;
    JetImport import;
    import.setProgress([&](int done, int total, const QString& table, qint64 rows) {
        calls << QStringLiteral("%1/%2 %3 %4").arg(done).arg(total).arg(table).arg(rows);
});
ASSERT_TRUE(import.run(kvtest::jetSample("indexTestV2000.mdb"), out()));
EXPECT_EQ(calls, QStringList({"0/3  0", "1/3 Table1 4", "2/3 Table2 3", "3/3 Table3 4"}));
}

TEST_F(JetImportTest, SmallTextBufferStillImportsWholeTexts)
{
    JetImport import({QString(), false, 32});
    ASSERT_TRUE(import.run(kvtest::jetSample("testUnicodeCompV2003.mdb"), out()));
    Database db(out());
    EXPECT_EQ(one(db, "SELECT count(*) FROM \"Table\""), "8");
    EXPECT_EQ(one(db, "SELECT length(CAST(Unicode AS BLOB)) FROM \"Table\" WHERE ID=8"), "383");
}
