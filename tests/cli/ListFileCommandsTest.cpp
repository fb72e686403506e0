#include "cli/ListFileCommands.h"
#include "core/ListFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kv;

namespace
{

class OxoCommandsTest : public ::testing::Test
{
protected:
    int dump(const QStringList& args) { return run(oxoDump, args); }
    int pack(const QStringList& args) { return run(oxoPack, args); }
    int run(int (*cmd)(const QStringList&, QTextStream&, QTextStream&), const QStringList& args)
    {
        out.clear();
        err.clear();
        QTextStream o(&out);
        QTextStream e(&err);
        const int rc = cmd(args, o, e);
        o.flush();
        e.flush();
        return rc;
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString out;
    QString err;
};

} // namespace

TEST_F(OxoCommandsTest, DumpPrintsLinesOfContainersAndPlainFiles)
{
    saveListFile({"Nast=1,0,", "Město=Plzeň"}, path("c.ini"), 1, 0x0B);
    EXPECT_EQ(dump({path("c.ini")}), 0);
    EXPECT_EQ(out, QString::fromUtf8("Nast=1,0,\nMěsto=Plzeň\n"));

    write("p.txt", "a\r\n\x8A\xE1rka");
    EXPECT_EQ(dump({path("p.txt")}), 0);
    EXPECT_EQ(out, QString::fromUtf8("a\nŠárka\n"));
}

TEST_F(OxoCommandsTest, DumpFailures)
{
    EXPECT_EQ(dump({path("missing.ini")}), 1);
    EXPECT_TRUE(err.contains("missing.ini"));
    EXPECT_TRUE(out.isEmpty());

    EXPECT_EQ(dump({dir.path()}), 1);
    EXPECT_EQ(dump({}), 2);
    EXPECT_TRUE(err.contains("usage"));
    EXPECT_EQ(dump({"a", "b"}), 2);
}

TEST_F(OxoCommandsTest, PackWritesScrambledContainer)
{
    write("in.txt", QString::fromUtf8("Kůň\nb").toUtf8());
    EXPECT_EQ(pack({"--key", "0x0C", path("in.txt"), path("out.kvv")}), 0) << err.toStdString();
    const QByteArray bytes = read("out.kvv");
    ASSERT_EQ(bytes.size(), 28 + 8);
    EXPECT_EQ(bytes.mid(24, 4), QByteArray("\x02\x0E\x0E\x0E", 4)); // 0x0C ^ 0x0E
    QByteArray body = bytes.mid(28);
    for (char& c : body)
        c ^= 0x0C;
    EXPECT_EQ(body, QByteArray("K\xF9\xF2\r\nb\r\n"));

    EXPECT_EQ(pack({path("in.txt"), path("out2.kl"), "--key", "14"}), 0);
    QStringList lines;
    loadListFile(lines, path("out2.kl"));
    EXPECT_EQ(lines, QStringList({QString::fromUtf8("Kůň"), "b"}));
    EXPECT_EQ(read("out2.kl").at(24), char(14 ^ 0x0E));
}

TEST_F(OxoCommandsTest, PackRefusesCharactersWithoutWindows1250Form)
{
    write("in.txt", QString::fromUtf8("ok\nSeñor\n").toUtf8());
    EXPECT_EQ(pack({"--key", "11", path("in.txt"), path("out.ini")}), 1);
    EXPECT_TRUE(err.contains("line 2")) << err.toStdString();
    EXPECT_TRUE(err.contains("U+00F1")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.ini")));
}

TEST_F(OxoCommandsTest, PackArgumentErrors)
{
    write("in.txt", "x\n");
    const QString in = path("in.txt");
    const QString outFile = path("o.ini");
    EXPECT_EQ(pack({in, outFile}), 2);
    EXPECT_TRUE(err.contains("usage"));
    EXPECT_EQ(pack({"--key", "zz", in, outFile}), 2);
    EXPECT_EQ(pack({"--key", "0x100000000", in, outFile}), 2);
    EXPECT_EQ(pack({"--key", "1", in}), 2);
    EXPECT_EQ(pack({"--key", "1", in, outFile, "extra"}), 2);
    EXPECT_EQ(pack({"--key"}), 2);
    EXPECT_EQ(pack({"--bogus", "--key", "1", in, outFile}), 2);
    EXPECT_FALSE(QFile::exists(outFile));

    EXPECT_EQ(pack({"--key", "1", path("none.txt"), outFile}), 1);
    EXPECT_TRUE(err.contains("none.txt"));
    write("bad.txt", "\xFF\xFE\xFA");
    EXPECT_EQ(pack({"--key", "1", path("bad.txt"), outFile}), 1);
    EXPECT_EQ(pack({"--key", "1", in, path("no/dir/o.ini")}), 1);
    EXPECT_FALSE(QFile::exists(outFile));
}
