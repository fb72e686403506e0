#include "domain/SelectionFile.h"
#include "core/ListFile.h"
#include "domain/SelectionRecord.h"
#include "domain/SelectionState.h"
#include "tests/domain/SelectionFixtures.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestHome.h"

#include <QBuffer>
#include <gtest/gtest.h>

using kv::SelectionState;

namespace
{

QByteArray record(const SelectionState& s)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    kv::writeSelection(s, buffer);
    return bytes;
}

QByteArray xored(QByteArray bytes, char key)
{
    for (char& c : bytes)
        c = char(c ^ key);
    return bytes;
}

class SelectionFileTest : public ::testing::Test
{
protected:
    kvtest::TestHome home;
    QString path(const char* name) const { return home.file(QLatin1String(name)); }

    // Loads into a copy of the full selection; the copy must stay whole
    // unless the load succeeds.
    bool load(const char* name, SelectionState& s) { return kv::loadSelection(path(name), s); }
};

} // namespace

TEST_F(SelectionFileTest, SavedFileIsAContainerInModeOneWithKey0C)
{
    kv::saveSelection(kvtest::fullSelection(), path("a.kvv"));
    const QByteArray file = home.read(QStringLiteral("a.kvv"));
    ASSERT_GT(file.size(), kv::listfile::HeaderSize);
    const QByteArray header = xored(file.left(kv::listfile::HeaderSize), 0x0E);
    EXPECT_EQ(header.left(5), QByteArray("oxom", 5));
    EXPECT_EQ(header.mid(20, 4), QByteArray("\x01\x00\x00\x00", 4));
    EXPECT_EQ(header.mid(24, 4), QByteArray("\x0C\x00\x00\x00", 4));
    // The body is the record, 0xED of the header line included, XOR 0x0C.
    EXPECT_EQ(xored(file.mid(kv::listfile::HeaderSize), 0x0C), record(kvtest::fullSelection()));
}

TEST_F(SelectionFileTest, SaveAndLoadRoundTrip)
{
    kv::saveSelection(kvtest::fullSelection(), path("a.kvv"));
    SelectionState s;
    ASSERT_TRUE(load("a.kvv", s));
    EXPECT_EQ(s, kvtest::fullSelection());

    // Saving again over the file replaces it.
    kv::saveSelection(SelectionState(), path("a.kvv"));
    ASSERT_TRUE(load("a.kvv", s));
    EXPECT_EQ(s, SelectionState());
}

TEST_F(SelectionFileTest, PlainTextRecordLoadsLikeASavedFile)
{
    home.write(QStringLiteral("plain.kvv"), record(kvtest::fullSelection()));
    SelectionState s;
    ASSERT_TRUE(load("plain.kvv", s));
    EXPECT_EQ(s, kvtest::fullSelection());
}

TEST_F(SelectionFileTest, AnyLineEndsAndNoLastLineEndLoad)
{
    QByteArray bytes = record(kvtest::fullSelection());
    const qsizetype half = bytes.size() / 2;
    QByteArray mixed =
        bytes.left(half).replace("\r\n", "\n") + bytes.mid(half).replace("\r\n", "\r");
    mixed.chop(1);
    home.write(QStringLiteral("mixed.kvv"), mixed);
    SelectionState s;
    ASSERT_TRUE(load("mixed.kvv", s));
    EXPECT_EQ(s, kvtest::fullSelection());
}

// A file of many tiny values costs a string per distinct short value, not
// one per line: the keys and texts that repeat share their text.
TEST_F(SelectionFileTest, RepeatedShortValuesShareTheirStrings)
{
    SelectionState big;
    for (int i = 0; i < 200000; ++i)
        big.row(SelectionState::Ico)
            .add(i % 2 ? QStringLiteral("ab") : QString(),
                 i % 2 ? QStringLiteral("12") : QStringLiteral("7"));
    kv::saveSelection(big, path("big.kvv"));
    SelectionState s;
    ASSERT_TRUE(load("big.kvv", s));
    EXPECT_EQ(s, big);
    const kv::CriterionValueList& row = s.row(SelectionState::Ico);
    for (int i : {2, 1000, 199998})
        EXPECT_EQ(row.Ids[i].constData(), row.Ids[0].constData()) << i;
    for (int i : {3, 1001, 199999}) {
        EXPECT_EQ(row.Ids[i].constData(), row.Ids[1].constData()) << i;
        EXPECT_EQ(row.Texts[i].constData(), row.Texts[1].constData()) << i;
    }
}

TEST_F(SelectionFileTest, FilesOfOtherKindsAreRefusedWithoutChange)
{
    kv::saveListFile({QStringLiteral("KV2001;Labels;"), QStringLiteral("10"), QStringLiteral("1")},
                     path("labels.kl"), 1, 0x0E);
    // The literal holds zero bytes: its length comes from its size, not a count.
    static const char png[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10";
    home.write(QStringLiteral("picture.png"), QByteArray(png, sizeof png - 1));
    home.write(QStringLiteral("empty.kvv"), QByteArray());
    home.write(QStringLiteral("text.txt"), "Dear customer,\r\nhello\r\n");
    for (const char* name : {"labels.kl", "picture.png", "empty.kvv", "text.txt"}) {
        SelectionState s = kvtest::fullSelection();
        EXPECT_FALSE(load(name, s)) << name;
        EXPECT_EQ(s, kvtest::fullSelection()) << name;
    }
}

TEST_F(SelectionFileTest, DamagedFilesThrowWithoutChange)
{
    const QByteArray good = record(kvtest::fullSelection());
    home.write(QStringLiteral("cut.kvv"), good.left(good.indexOf("Kladno")));
    QByteArray badCount = good;
    badCount.replace("\r\n3\r\nbeton", "\r\nabc\r\nbeton");
    home.write(QStringLiteral("abc.kvv"), badCount);
    QByteArray huge = good;
    huge.replace("\r\n3\r\nbeton", "\r\n10000000\r\nbeton");
    kv::saveListFile(kv::listfile::split(QString::fromLatin1(huge)), path("huge.kvv"), 1, 0x0C);
    for (const char* name : {"cut.kvv", "abc.kvv", "huge.kvv"}) {
        SelectionState s = kvtest::fullSelection();
        EXPECT_KV_ERROR(load(name, s), Selection) << name;
        EXPECT_EQ(s, kvtest::fullSelection()) << name;
    }
}

TEST_F(SelectionFileTest, FileLayerFailuresThrowFileError)
{
    SelectionState s = kvtest::fullSelection();
    EXPECT_KV_ERROR(load("missing.kvv", s), File);
    EXPECT_EQ(s, kvtest::fullSelection());
    EXPECT_KV_ERROR(kv::saveSelection(s, path("no/such/dir/a.kvv")), File);
}
