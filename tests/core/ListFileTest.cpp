#include "core/ListFile.h"
#include "core/Cp1250.h"
#include "tests/core/LockedFolder.h"
#include "tests/support/ErrorKind.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kv;

namespace
{

class OxoTest : public ::testing::Test
{
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    void writeBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray readBytes(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

QByteArray mask(QByteArray bytes, unsigned char m)
{
    for (char& c : bytes)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ m);
    return bytes;
}

// The unmasked header as the format defines it, with zero reserved bytes.
QByteArray plainHeader(qint32 mode, quint32 key, const QByteArray& magic = "oxom")
{
    QByteArray h(28, '\0');
    h.replace(0, magic.size(), magic);
    for (int i = 0; i < 4; ++i) {
        h[20 + i] = static_cast<char>((static_cast<quint32>(mode) >> (8 * i)) & 0xFF);
        h[24 + i] = static_cast<char>((key >> (8 * i)) & 0xFF);
    }
    return h;
}

} // namespace

TEST_F(OxoTest, EmptyListInModeOneIsExactlyTheMaskedHeader)
{
    saveListFile({}, path("e.oxo"), 1, 0x0B);
    const QByteArray bytes = readBytes("e.oxo");
    EXPECT_EQ(bytes, mask(plainHeader(1, 0x0B), 0x0E));

    QStringList list{"old line"};
    loadListFile(list, path("e.oxo"));
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(OxoTest, TwoOneLetterLinesGiveSixScrambledBodyBytes)
{
    saveListFile({"a", "b"}, path("two.oxo"), 1, 0x0C);
    const QByteArray bytes = readBytes("two.oxo");
    ASSERT_EQ(bytes.size(), 34);
    EXPECT_EQ(bytes.left(28), mask(plainHeader(1, 0x0C), 0x0E));
    EXPECT_EQ(bytes.mid(28), mask("a\r\nb\r\n", 0x0C));

    QStringList list;
    loadListFile(list, path("two.oxo"));
    EXPECT_EQ(list, QStringList({"a", "b"}));
}

TEST_F(OxoTest, KeyTravelsInHeaderAndOnlyItsLowByteScrambles)
{
    const QStringList lines{"Příliš žluťoučký kůň", "", "úpěl ďábelské ódy", "€ § ©"};
    const QByteArray plainBody = Cp1250::encode(lines.join("\r\n") + "\r\n");
    for (int key : {0, 0x0E, 0xFF, 0x12345678, -1}) {
        SCOPED_TRACE(key);
        saveListFile(lines, path("k.oxo"), 1, key);
        const QByteArray bytes = readBytes("k.oxo");
        EXPECT_EQ(bytes.left(28), mask(plainHeader(1, static_cast<quint32>(key)), 0x0E));
        EXPECT_EQ(bytes.mid(28), mask(plainBody, static_cast<unsigned char>(key & 0xFF)));
        QStringList list;
        loadListFile(list, path("k.oxo"));
        EXPECT_EQ(list, lines);
    }
}

TEST_F(OxoTest, BodyLongerThanOneBlockRoundTrips)
{
    QStringList lines;
    for (int i = 0; i < 12000; ++i)
        lines << QStringLiteral("Řádek číslo %1").arg(i);
    saveListFile(lines, path("big.oxo"), 1, 0x0E);
    const QByteArray body = readBytes("big.oxo").mid(28);
    ASSERT_GT(body.size(), 2 * 65528);
    EXPECT_EQ(mask(body, 0x0E), listfile::render(lines));
    QStringList back;
    loadListFile(back, path("big.oxo"));
    EXPECT_EQ(back, lines);
}

TEST_F(OxoTest, ModeZeroStoresBodyPlainly)
{
    saveListFile({"Brno", "Ústí"}, path("m0.oxo"), 0, 0x55);
    const QByteArray bytes = readBytes("m0.oxo");
    EXPECT_EQ(bytes.left(28), mask(plainHeader(0, 0x55), 0x0E));
    EXPECT_EQ(bytes.mid(28), QByteArray("Brno\r\n\xDAst\xED\r\n"));
    QStringList list;
    loadListFile(list, path("m0.oxo"));
    EXPECT_EQ(list, QStringList({"Brno", "Ústí"}));
}

TEST_F(OxoTest, UnknownModeWritesHeaderOnlyAndLoadingKeepsTheList)
{
    saveListFile({"lost"}, path("m2.oxo"), 2, 0x0B);
    EXPECT_EQ(readBytes("m2.oxo"), mask(plainHeader(2, 0x0B), 0x0E));

    // A mode-2 header followed by a body: the reader must not touch the list.
    writeBytes("m2body.oxo", mask(plainHeader(2, 0), 0x0E) + "x\r\n");
    QStringList list{"kept", "too"};
    loadListFile(list, path("m2body.oxo"));
    EXPECT_EQ(list, QStringList({"kept", "too"}));
}

TEST_F(OxoTest, FilesWithoutHeaderAreReadAsPlainText)
{
    writeBytes("plain.txt", "Nast=1,1,\r\nMdiMod=2\r\nPro=255");
    QStringList list;
    loadListFile(list, path("plain.txt"));
    EXPECT_EQ(list, QStringList({"Nast=1,1,", "MdiMod=2", "Pro=255"}));

    // Anything at all, as long as it does not unmask to the magic.
    writeBytes("bin.dat", QByteArray("\x01\x02\xFF\x8A", 4));
    loadListFile(list, path("bin.dat"));
    EXPECT_EQ(list, QStringList({QString::fromUtf8("\x01\x02˙Š")}));
}

TEST_F(OxoTest, MagicMustMatchCaseAndTerminator)
{
    // "OXOM" masks to "AVAC": the whole file, header included, is text.
    writeBytes("upper.oxo", mask(plainHeader(0, 0, "OXOM"), 0x0E) + "x\r\n");
    QStringList list;
    loadListFile(list, path("upper.oxo"));
    ASSERT_EQ(list.size(), 1);
    EXPECT_TRUE(list.first().startsWith("AVAC"));
    EXPECT_TRUE(list.first().endsWith("x"));

    // "oxom" not followed by the zero byte is no container either.
    QByteArray h = plainHeader(0, 0);
    h[4] = 'X';
    writeBytes("noterm.oxo", mask(h, 0x0E) + "y\r\n");
    loadListFile(list, path("noterm.oxo"));
    ASSERT_EQ(list.size(), 1);
    EXPECT_TRUE(list.first().startsWith("avac"));
}

TEST_F(OxoTest, TruncatedHeaderIsReadAsPlainText)
{
    const QByteArray stub = mask(plainHeader(1, 0x0B).left(10), 0x0E);
    writeBytes("short.oxo", stub);
    QStringList list{"before"};
    loadListFile(list, path("short.oxo"));
    EXPECT_EQ(list, QStringList({Cp1250::decode(stub)}));
}

TEST_F(OxoTest, LinesSplitAtCrLfLoneCrAndLoneLf)
{
    const struct {
        QByteArray text;
        QStringList lines;
    } cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\n\r", {"a", ""}},
        {"\r\n", {""}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        writeBytes("split.txt", c.text);
        QStringList list{"x"};
        loadListFile(list, path("split.txt"));
        EXPECT_EQ(list, c.lines);
    }
}

TEST_F(OxoTest, MissingFileEmptiesTheList)
{
    QStringList list{"one", "two"};
    loadListFile(list, path("nothing-here.oxo"));
    EXPECT_TRUE(list.isEmpty());
}

TEST_F(OxoTest, FileLayerErrorsAreThrownNamingTheFile)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    QStringList list{"keep"};
    try {
        loadListFile(list, path("folder"));
        FAIL() << "reading a folder must fail";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::File);
        EXPECT_NE(QString::fromStdString(e.what()).indexOf("folder"), -1);
    }
    EXPECT_KV_ERROR(saveListFile({"a"}, path("folder"), 1, 0x0B), File);
    EXPECT_TRUE(QFileInfo(path("folder")).isDir());

    try {
        saveListFile({"a"}, path("no/such/dir/x.oxo"), 1, 0x0B);
        FAIL() << "writing below a missing folder must fail";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::File);
        EXPECT_EQ(e.path(), path("no/such/dir/x.oxo"));
        EXPECT_NE(QString::fromStdString(e.what()).indexOf("x.oxo"), -1);
    }
}

TEST_F(OxoTest, FailedSaveKeepsTheEarlierFile)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("ro"));
    const QString file = path("ro/list.oxo");
    saveListFile({"first"}, file, 1, 0x0B);
    const QByteArray before = readBytes("ro/list.oxo");
    {
        kvtest::LockedFolder lock(path("ro"));
        if (!lock.locked())
            GTEST_SKIP() << "cannot make a folder read-only here";
        EXPECT_KV_ERROR(saveListFile({"second"}, file, 1, 0x0B), File);
    }
    EXPECT_EQ(readBytes("ro/list.oxo"), before);
}
