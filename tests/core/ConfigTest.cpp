#include "core/Config.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "tests/core/LockedFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kv;

namespace
{

const QString Home = QStringLiteral("/srv/kvelta");

QString nastOf(const QList<int>& entries)
{
    QString s;
    for (int e : entries)
        s += QString::number(e) + u',';
    return s;
}

QList<int> allOnes()
{
    return QList<int>(NastCount, 1);
}

class ConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings() = Settings();
        ini = dir.filePath("KV2001.ini");
    }
    void TearDown() override { settings() = Settings(); }

    void writePlain(const QByteArray& text) const
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QStringList stored() const
    {
        QStringList lines;
        loadListFile(lines, ini);
        return lines;
    }
    ConfigResult readWithNast(const QString& nast)
    {
        saveListFile({"Nast=" + nast}, ini, 1, 0x0B);
        return readConfig(ini, Home);
    }

    QTemporaryDir dir;
    QString ini;
};

} // namespace

TEST_F(ConfigTest, NoFileGivesDefaultsAndWritesTheFourKeysInOrder)
{
    settings().nast.fill(false); // must be reset by reading
    const ConfigResult r = readConfig(ini, Home);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(r.mdiMod, 0);
    EXPECT_EQ(settings().dataHome, Home);
    EXPECT_EQ(settings().langBase, 0);
    for (int i = 0; i < NastCount; ++i)
        EXPECT_TRUE(settings().nast[i]) << i;

    writeConfig(ini, r.mdiMod);
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray head = f.read(28);
    ASSERT_EQ(head.size(), 28);
    // Masked "oxom\0", mode 1, key 0x0B.
    EXPECT_EQ(head.left(5), QByteArray("avac\x0E"));
    EXPECT_EQ(head.mid(20), QByteArray("\x0F\x0E\x0E\x0E\x05\x0E\x0E\x0E", 8));
    EXPECT_EQ(stored(),
              QStringList({"Nast=" + nastOf(allOnes()), "Lang=0", "MdiMod=0", "Pro=255"}));
    // Owner read and write only (0600); group and others get nothing.
    EXPECT_EQ(QFile::permissions(ini).toInt() & 0x7077, 0x6000);
}

TEST_F(ConfigTest, NastEntriesEndAtTheirCommas)
{
    readWithNast("0,0,0,");
    for (int i = 0; i < NastCount; ++i)
        EXPECT_EQ(settings().nast[i], i > 2) << i;

    const ConfigResult r = readWithNast("0,0,0");
    EXPECT_FALSE(r.error);
    for (int i = 0; i < NastCount; ++i)
        EXPECT_EQ(settings().nast[i], i > 1) << i;
}

TEST_F(ConfigTest, NastKeepsOnlyTheLowByte)
{
    const ConfigResult r = readWithNast("256,257,-256,");
    EXPECT_FALSE(r.error);
    EXPECT_FALSE(settings().nast[0]);
    EXPECT_TRUE(settings().nast[1]);
    EXPECT_FALSE(settings().nast[2]);
}

TEST_F(ConfigTest, NonIntegerNastEntryIsAnErrorAndStopsReading)
{
    const ConfigResult r = readWithNast("0,x,0,");
    EXPECT_TRUE(r.error);
    EXPECT_FALSE(settings().nast[0]);
    EXPECT_TRUE(settings().nast[1]);
    EXPECT_TRUE(settings().nast[2]);

    EXPECT_TRUE(readWithNast("1,x,1,").error);
    EXPECT_TRUE(readWithNast(",").error);
}

TEST_F(ConfigTest, WebAndNameAreOnWhateverIsStored)
{
    QList<int> entries(NastCount, 0);
    readWithNast(nastOf(entries));
    EXPECT_TRUE(settings().nast[NastWeb]);
    EXPECT_TRUE(settings().nast[NastNazev]);
    EXPECT_FALSE(settings().nast[NastLogo]);
    EXPECT_FALSE(settings().nast[NastOkres]);
}

TEST_F(ConfigTest, EntriesBeyondThirtyAreIgnored)
{
    QList<int> entries(NastCount, 0);
    const ConfigResult r = readWithNast(nastOf(entries) + "1,1,x,1,");
    EXPECT_FALSE(r.error);
    EXPECT_FALSE(settings().nast[NastOkres]);
    EXPECT_FALSE(settings().nast[NastPsc]);
}

TEST_F(ConfigTest, NastIsWrittenFromFlagsWithSpareBytesKept)
{
    QList<int> entries = allOnes();
    entries[0] = 256; // low byte 0: off
    entries[5] = 7;   // spare: kept as read
    entries[16] = 0;  // spare
    entries[20] = 300;
    entries[23] = 0; // NastWeb: not read, written from the flag
    entries[24] = 0;
    entries[25] = 0;
    readWithNast(nastOf(entries));
    settings().nast[NastOkres] = false; // as the display settings window would

    writeConfig(ini, 0);
    QList<int> expected = allOnes();
    expected[0] = 0;
    expected[5] = 7;
    expected[16] = 0;
    expected[20] = 44;
    expected[29] = 0;
    EXPECT_EQ(stored().first(), "Nast=" + nastOf(expected));
}

TEST_F(ConfigTest, MdiModIsReadAndWrittenBack)
{
    saveListFile({"MdiMod=5"}, ini, 1, 0x0B);
    const ConfigResult r = readConfig(ini, Home);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(r.mdiMod, 5);
    writeConfig(ini, r.mdiMod);
    EXPECT_EQ(stored(),
              QStringList({"MdiMod=5", "Nast=" + nastOf(allOnes()), "Lang=0", "Pro=255"}));

    saveListFile({"MdiMod=two"}, ini, 1, 0x0B);
    const ConfigResult bad = readConfig(ini, Home);
    EXPECT_TRUE(bad.error);
    EXPECT_EQ(bad.mdiMod, 0);
}

TEST_F(ConfigTest, KeysMatchTheTextBeforeTheFirstEqualsIgnoringCase)
{
    const QStringList lines{"MdiModX=3", "MDIMOD=1=2", "mdimod=2", "Nast"};
    EXPECT_EQ(configValue(lines, "MdiMod"), "1=2");
    EXPECT_EQ(configValue(lines, "Nast"), std::nullopt);
    EXPECT_EQ(configValue(lines, "MdiModX"), "3");

    saveListFile({"mdimod=2", "MdiMod=1"}, ini, 1, 0x0B);
    EXPECT_EQ(readConfig(ini, Home).mdiMod, 2);
}

TEST_F(ConfigTest, PlainTextFileIsReadAndReplacedByContainerKeepingOtherLines)
{
    writePlain("; written by hand\r\nmdimod=2\r\nNast=0,1,\r\nPrinter=Label 1\r\n");
    const ConfigResult r = readConfig(ini, Home);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(r.mdiMod, 2);
    EXPECT_FALSE(settings().nast[NastLogo]);

    writeConfig(ini, r.mdiMod);
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == QByteArray("avac\x0E")) << "not a container";
    QList<int> expected = allOnes();
    expected[0] = 0;
    EXPECT_EQ(stored(), QStringList({"; written by hand", "MdiMod=2", "Nast=" + nastOf(expected),
                                     "Printer=Label 1", "Lang=0", "Pro=255"}));
}

TEST_F(ConfigTest, DataHomeComesFromOverrideOrSettings)
{
    QSettings user(QSettings::UserScope, "Lumora", "KV2001");
    user.remove("Home");
    user.sync();
    EXPECT_TRUE(readConfig(ini, std::nullopt).error);
    EXPECT_TRUE(settings().dataHome.isEmpty());
    EXPECT_TRUE(readConfig(ini, QString()).error);

    user.setValue("Home", "/data/kv2001");
    user.sync();
    const ConfigResult r = readConfig(ini, std::nullopt);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(settings().dataHome, "/data/kv2001");

    EXPECT_FALSE(readConfig(ini, QString("/elsewhere")).error);
    EXPECT_EQ(settings().dataHome, "/elsewhere");
    user.remove("Home");
}

TEST_F(ConfigTest, ServerComesFromOverrideOrSettingsAndNeverFromAnotherRun)
{
    QSettings user(QSettings::UserScope, "Lumora", "KV2001");
    user.remove("Database");
    user.sync();
    readConfig(ini, Home, QString("host=/run/a dbname=kvelta"));
    EXPECT_EQ(settings().database, "host=/run/a dbname=kvelta");
    // The next run without the option reads the (empty) setting again.
    EXPECT_FALSE(readConfig(ini, Home).error);
    EXPECT_TRUE(settings().database.isEmpty());

    user.setValue("Database", "postgresql://office/kvelta");
    user.sync();
    readConfig(ini, Home);
    EXPECT_EQ(settings().database, "postgresql://office/kvelta");
    // An empty override picks the home's own file for this run.
    readConfig(ini, Home, QString());
    EXPECT_TRUE(settings().database.isEmpty());
    user.remove("Database");
}

TEST_F(ConfigTest, UnreadableFileIsAnErrorAndIsNotOverwritten)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("KV2001.ini"));
    EXPECT_TRUE(readConfig(ini, Home).error);
    writeConfig(ini, 0); // must not throw
    EXPECT_TRUE(QFileInfo(ini).isDir());
}

TEST_F(ConfigTest, FailedWriteLeavesTheOldFileIntact)
{
    saveListFile({"MdiMod=1", "Other=x"}, ini, 1, 0x0B);
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    {
        kvtest::LockedFolder lock(dir.path());
        if (!lock.locked())
            GTEST_SKIP() << "cannot make a folder read-only here";
        writeConfig(ini, 2);
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(ConfigTest, WriteCreatesMissingFolder)
{
    const QString nested = dir.filePath("Lumora/KV2001.ini");
    writeConfig(nested, 1);
    QStringList lines;
    loadListFile(lines, nested);
    EXPECT_EQ(lines.value(2), "MdiMod=1");
}

TEST(ConfigLocation, NextToTheProgramWhenWritable)
{
    const QString dirPath = QCoreApplication::applicationDirPath();
    if (QFileInfo(dirPath).isWritable())
        EXPECT_EQ(iniPath(), QDir(dirPath).filePath("KV2001.ini"));
    else
        EXPECT_TRUE(iniPath().endsWith("/Lumora/KV2001.ini"));
}
