#include "cli/ConfigCommand.h"
#include "core/ListFile.h"
#include "tests/core/LockedFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kv;

namespace
{

class ConfigCommandTest : public ::testing::Test
{
protected:
    int run(QStringList args)
    {
        out.clear();
        err.clear();
        QTextStream o(&out);
        QTextStream e(&err);
        const int rc = configCommand(QStringList{"--config", ini} + args, o, e);
        o.flush();
        e.flush();
        return rc;
    }
    QStringList stored() const
    {
        QStringList lines;
        loadListFile(lines, ini);
        return lines;
    }
    QByteArray bytes() const
    {
        QFile f(ini);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writePlain(const QByteArray& text) const
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    QString ini = dir.filePath("cfg/KV2001.ini");
    QString out, err;
};

} // namespace

TEST_F(ConfigCommandTest, ShowsThePathThenTheLines)
{
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(out, ini + "\n"); // a missing file has no lines and is not made
    EXPECT_FALSE(QFile::exists(ini));

    ASSERT_EQ(run({"--set", "MdiMod=2"}), 0);
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(out, ini + "\nMdiMod=2\n");
}

TEST_F(ConfigCommandTest, SetReplacesByKeyIgnoringCaseAndKeepsOtherLines)
{
    QDir().mkpath(dir.filePath("cfg"));
    writePlain("Other=kept\r\nmdimod=0\r\nNast=1,1,\r\n");
    ASSERT_EQ(run({"--set", "MdiMod=1", "--set", "Pro=255"}), 0) << err.toStdString();
    EXPECT_EQ(stored(), (QStringList{"Other=kept", "MdiMod=1", "Nast=1,1,", "Pro=255"}));
    // Written as the program writes it: masked, not plain text.
    EXPECT_FALSE(bytes().contains("Other"));
    EXPECT_EQ(int(QFile::permissions(ini) & (QFileDevice::ReadOther | QFileDevice::ReadGroup)), 0);
}

TEST_F(ConfigCommandTest, RefusesValuesTheProgramWouldRejectAndWritesNothing)
{
    QDir().mkpath(dir.filePath("cfg"));
    writePlain("Other=kept\r\n");
    const QByteArray before = bytes();
    const QList<QStringList> refused = {
        {"--set", "MdiMod=x"},        // not an integer
        {"--set", "Nast=1,x,1,"},     // an entry that is not an integer
        {"--set", "MdiMod=1\nPro=1"}, // a line break would split the line
        {"--set", "Other=\u4e2d"},    // no Windows-1250 form
        {"--set", "=1"},              // no key
        {"--set", "novalue"},
        {"--set"},
        {"--unknown"},
        {"stray"},
    };
    for (const QStringList& args : refused) {
        EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
        EXPECT_FALSE(err.isEmpty()) << args.join(' ').toStdString();
        EXPECT_EQ(bytes(), before) << args.join(' ').toStdString();
    }
    // Text after the last comma of Nast is never read, so it is no error.
    EXPECT_EQ(run({"--set", "Nast=0,1,tail"}), 0);
}

TEST_F(ConfigCommandTest, UnwritableFolderFailsAndKeepsTheOldFile)
{
    QDir().mkpath(dir.filePath("cfg"));
    writePlain("MdiMod=0\r\n");
    kvtest::LockedFolder lock(dir.filePath("cfg"));
    if (!lock.locked())
        GTEST_SKIP() << "the folder cannot be made read-only here";
    EXPECT_EQ(run({"--set", "MdiMod=2"}), 1);
    EXPECT_FALSE(err.isEmpty());
    EXPECT_EQ(bytes(), QByteArray("MdiMod=0\r\n"));
}

TEST_F(ConfigCommandTest, UnreadableFileIsNotOverwritten)
{
    // A folder in the file's place cannot be read as a list file.
    QDir().mkpath(ini);
    EXPECT_EQ(run({"--set", "MdiMod=2"}), 1);
    EXPECT_TRUE(QFileInfo(ini).isDir());
}
