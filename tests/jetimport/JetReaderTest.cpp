// Reading the sample Jet 3 and Jet 4 files: versions, tables, row counts,
// column kinds, Central European and non-Latin text, dates and long texts.
#include "jetimport/JetReader.h"
#include "tests/jetimport/JetSamples.h"

#include <QMap>
#include <gtest/gtest.h>

using kv::jet::ColumnKind;
using kv::jet::JetReader;

namespace
{

const kv::jet::JetTable* findTable(const JetReader& reader, const QString& name)
{
    for (const auto& t : reader.tables())
        if (t.name == name)
            return &t;
    return nullptr;
}

int tableIndex(const JetReader& reader, const QString& name)
{
    for (size_t i = 0; i < reader.tables().size(); ++i)
        if (reader.tables()[i].name == name)
            return int(i);
    return -1;
}

std::vector<QVariantList> readAll(JetReader& reader, const QString& table)
{
    std::vector<QVariantList> rows;
    const int index = tableIndex(reader, table);
    EXPECT_GE(index, 0) << table.toStdString();
    JetReader::ReadResult result;
    do {
        rows.clear();
        result = reader.readTable(index, [&](const QVariantList& r) { rows.push_back(r); });
    } while (result == JetReader::ReadResult::Retry);
    EXPECT_EQ(result, JetReader::ReadResult::Done) << reader.error().toStdString();
    return rows;
}

// Second column by the first, for tables of (name, data) rows.
QMap<QString, QVariant> byName(const std::vector<QVariantList>& rows)
{
    QMap<QString, QVariant> out;
    for (const auto& r : rows)
        out.insert(r[0].toString(), r[1]);
    return out;
}

} // namespace

TEST(JetReader, TellsTheJetVersions)
{
    JetReader reader;
    ASSERT_TRUE(reader.open(kvtest::jetSample("testV1997.mdb"))) << reader.error().toStdString();
    EXPECT_TRUE(reader.isJet3());
    EXPECT_EQ(reader.versionName(), "Jet 3 (Access 97)");
    ASSERT_TRUE(reader.open(kvtest::jetSample("indexTestV2000.mdb")));
    EXPECT_FALSE(reader.isJet3());
    EXPECT_EQ(reader.versionName(), "Jet 4 (Access 2000-2003)");
}

TEST(JetReader, ListsUserTablesWithTheirRowCounts)
{
    JetReader reader;
    ASSERT_TRUE(reader.open(kvtest::jetSample("testIndexCodesV1997.mdb")));
    EXPECT_EQ(reader.tables().size(), 29u);
    for (const auto& t : reader.tables())
        EXPECT_FALSE(t.name.startsWith("MSys")) << t.name.toStdString();
    ASSERT_NE(findTable(reader, "Table14"), nullptr);
    EXPECT_EQ(findTable(reader, "Table14")->rowCount, 256);
    EXPECT_EQ(findTable(reader, "Table1")->rowCount, 275);
    EXPECT_EQ(readAll(reader, "Table14").size(), 256u);
    EXPECT_EQ(readAll(reader, "Table1").size(), 275u);

    ASSERT_TRUE(reader.open(kvtest::jetSample("indexTestV2000.mdb")));
    ASSERT_EQ(reader.tables().size(), 3u);
    EXPECT_EQ(readAll(reader, "Table1").size(), 4u);
    EXPECT_EQ(readAll(reader, "Table2").size(), 3u);
}

TEST(JetReader, ColumnKindsAndDeclaredTypes)
{
    JetReader reader;
    ASSERT_TRUE(reader.open(kvtest::jetSample("testV1997.mdb")));
    const auto* t = findTable(reader, "Table1");
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->columns.size(), 9u);
    const std::pair<ColumnKind, const char*> expected[] = {
        {ColumnKind::Text, "VARCHAR(50)"}, {ColumnKind::Text, "VARCHAR(100)"},
        {ColumnKind::Integer, "TINYINT"},  {ColumnKind::Integer, "SMALLINT"},
        {ColumnKind::Integer, "INTEGER"},  {ColumnKind::Float, "DOUBLE"},
        {ColumnKind::Date, "DATETIME"},    {ColumnKind::Currency, "REAL"},
        {ColumnKind::Boolean, "BOOLEAN"},
    };
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(t->columns[i].name, QString(QChar(u'A' + int(i))));
        EXPECT_EQ(t->columns[i].kind, expected[i].first) << i;
        EXPECT_EQ(t->columns[i].sqlType(), expected[i].second) << i;
    }
    ASSERT_TRUE(reader.open(kvtest::jetSample("testUnicodeCompV2003.mdb")));
    // Jet 4 records text sizes in bytes of UCS-2; the type counts characters.
    EXPECT_EQ(reader.tables().at(0).columns.at(1).sqlType(), "VARCHAR(255)");
}

TEST(JetReader, ValuesOfEveryKind)
{
    JetReader reader;
    ASSERT_TRUE(reader.open(kvtest::jetSample("testV1997.mdb")));
    const auto rows = readAll(reader, "Table1");
    ASSERT_EQ(rows.size(), 2u);
    const QVariantList& r = rows[1];
    EXPECT_EQ(r[0].toString(), "abcdefg");
    EXPECT_EQ(r[1].toString(), "hijklmnop");
    EXPECT_EQ(r[2].toLongLong(), 2);
    EXPECT_EQ(r[3].toLongLong(), 222);
    EXPECT_EQ(r[4].toLongLong(), 333333333);
    EXPECT_EQ(r[5].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(r[5].toDouble(), 444.555);
    EXPECT_EQ(r[6].toString(), "1974-09-21 00:00:00");
    EXPECT_DOUBLE_EQ(r[7].toDouble(), 3.5);
    EXPECT_EQ(r[8].toLongLong(), 1);
    EXPECT_EQ(rows[0][8].toLongLong(), 0);
    EXPECT_EQ(rows[0][6].toString(), "1981-12-12 00:00:00");
}

TEST(JetReader, Jet3TextIsWindows1250UnlessToldOtherwise)
{
    JetReader reader;
    ASSERT_TRUE(reader.open(kvtest::jetSample("testIndexCodesV1997.mdb")));
    // The rows are named by the byte their text holds: "row200" is "a", 200, "a".
    auto data = byName(readAll(reader, "Table14"));
    ASSERT_EQ(data.size(), 256);
    EXPECT_EQ(data["row200"].toString(), QString::fromUtf8("aČa"));
    EXPECT_EQ(data["row138"].toString(), QString::fromUtf8("aŠa"));
    EXPECT_EQ(data["row248"].toString(), QString::fromUtf8("ařa"));
    EXPECT_EQ(data["row141"].toString(), QString::fromUtf8("aŤa"));
    EXPECT_EQ(data["row157"].toString(), QString::fromUtf8("aťa"));
    EXPECT_EQ(data["row232"].toString(), QString::fromUtf8("ača"));
    EXPECT_EQ(data["row236"].toString(), QString::fromUtf8("aěa"));
    EXPECT_EQ(data["row65"].toString(), "aAa");

    ASSERT_TRUE(reader.open(kvtest::jetSample("testIndexCodesV1997.mdb"), "CP1252"));
    data = byName(readAll(reader, "Table14"));
    EXPECT_EQ(data["row200"].toString(), QString::fromUtf8("aÈa"));
    EXPECT_EQ(data["row138"].toString(), QString::fromUtf8("aŠa"));
}

TEST(JetReader, UnknownCharsetIsRefused)
{
    JetReader reader;
    EXPECT_FALSE(reader.open(kvtest::jetSample("testV1997.mdb"), "NO-SUCH-CODE-PAGE"));
    EXPECT_TRUE(reader.error().contains("NO-SUCH-CODE-PAGE"));
    EXPECT_TRUE(reader.tables().empty());
}

TEST(JetReader, Jet4UnicodeText)
{
    JetReader reader;
    ASSERT_TRUE(reader.open(kvtest::jetSample("testUnicodeCompV2003.mdb"), "CP1250"));
    const auto rows = readAll(reader, "Table");
    ASSERT_EQ(rows.size(), 8u);
    QMap<qlonglong, QString> text;
    for (const auto& r : rows)
        text.insert(r[0].toLongLong(), r[1].toString());
    EXPECT_EQ(text[2], QString::fromUtf8("ääkkösiä"));
    EXPECT_EQ(text[3], QString::fromUtf8("Мир"));
    // Polytonic Greek as stored: the accents are the oxia forms (U+1F7x).
    EXPECT_EQ(text[4],
              QString::fromUtf16(u"\u03f0\u03b1\u1f76 \u03c4\u1f79\u03c4' "
                                 u"\u1f10\u03b3\u1f7c \u039a\u1f7b\u03f0\u03bb\u03c9\u03c0\u03b1"));
    EXPECT_EQ(text[5], QString::fromUtf8("漢字仮名交じり文"));
    // Every ASCII and Latin-1 character in one row.
    EXPECT_TRUE(text[8].contains("0123456789:;<=>?@ABC"));
    EXPECT_TRUE(text[8].endsWith(QString::fromUtf8("ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß"
                                                   "àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ")));
}

TEST(JetReader, LongTextsAreNeverCut)
{
    JetReader normal;
    ASSERT_TRUE(normal.open(kvtest::jetSample("testUnicodeCompV2003.mdb")));
    const auto expected = readAll(normal, "Table");

    // A buffer far smaller than the longest text: the reader must notice
    // and grow it rather than hand over a cut text.
    JetReader small;
    small.setBindSize(32);
    ASSERT_TRUE(small.open(kvtest::jetSample("testUnicodeCompV2003.mdb")));
    const int index = tableIndex(small, "Table");
    std::vector<QVariantList> rows;
    EXPECT_EQ(small.readTable(index, [&](const QVariantList& r) { rows.push_back(r); }),
              JetReader::ReadResult::Retry);
    EXPECT_GT(small.bindSize(), 32u);
    EXPECT_EQ(readAll(small, "Table"), expected);
    EXPECT_GE(small.bindSize(), 383u); // the longest text in UTF-8
}

TEST(JetReader, DatesHaveFourDigitYearsAcrossJetsWholeRange)
{
    JetReader reader;
    ASSERT_TRUE(reader.open(kvtest::jetSample("testIndexCodesV1997.mdb")));
    const auto data = byName(readAll(reader, "Table6"));
    EXPECT_EQ(data["row20"].toString(), "2007-03-03 15:13:00");
    EXPECT_EQ(data["row22"].toString(), "1999-11-11 00:00:00");
    EXPECT_EQ(data["row1"].toString(), "1908-11-18 00:00:00");
    EXPECT_EQ(data["row7"].toString(), "4374-07-17 00:00:00");
    // Before 1899-12-30 the day counts back while the time still counts forward.
    EXPECT_EQ(data["row19"].toString(), "1899-12-29 02:24:00");
    EXPECT_EQ(data["row3"].toString(), "1899-12-07 00:00:00");
    EXPECT_EQ(data["row14"].toString(), "1899-09-27 10:19:15");
    EXPECT_TRUE(data["row12"].isNull());
}
