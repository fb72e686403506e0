// The make-demo command line: arguments, refusing a used folder, --force.
#include "cli/MakeDemoCommand.h"
#include "tests/support/DemoHomeTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

struct CommandResult {
    int code = -1;
    QString out, err;
};

CommandResult run(const QStringList& args)
{
    CommandResult r;
    QTextStream out(&r.out), err(&r.err);
    r.code = kv::makeDemoCommand(args, out, err);
    return r;
}

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(MakeDemoCommand, BadArgumentsPrintTheUsage)
{
    const QList<QStringList> bad = {{},
                                    {"a", "b"},
                                    {"dir", "--firms"},
                                    {"dir", "--firms", "0"},
                                    {"dir", "--firms", "x"},
                                    {"dir", "--firms=-5"},
                                    {"dir", "--seed", "-1"},
                                    {"dir", "--colour"}};
    for (const QStringList& args : bad) {
        const CommandResult r = run(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage: kvelta make-demo DIR")) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(MakeDemoCommand, WritesAHomeIntoANewFolder)
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath("home/nested");
    const CommandResult r = run({dir, "--firms=40", "--seed", "3"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Firms: 40 / 40")) << r.out.toStdString();
    kvtest::DemoDb db(dir + "/Dta/KV2001.db");
    EXPECT_EQ(db.count("select count(*) from firma"), 40);
    EXPECT_EQ(db.count("select count(*) from firma where peno=200219"), 1);
    // No working files are left behind.
    EXPECT_EQ(QDir(dir + "/Dta").entryList(QDir::Files), QStringList{"KV2001.db"});
}

TEST(MakeDemoCommand, RefusesANonEmptyFolderAndLeavesItAlone)
{
    QTemporaryDir tmp;
    write(tmp.filePath("mine.txt"), "keep");
    const CommandResult r = run({tmp.path(), "--firms", "5"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("not empty")) << r.err.toStdString();
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"mine.txt"});

    write(tmp.filePath("file"), "x");
    EXPECT_EQ(run({tmp.filePath("file"), "--firms", "5", "--force"}).code, 1);
}

TEST(MakeDemoCommand, ForceReplacesOnlyTheGeneratedFiles)
{
    QTemporaryDir tmp, outside;
    ASSERT_EQ(run({tmp.path(), "--firms", "30"}).code, 0);
    write(tmp.filePath("mine.txt"), "keep");
    write(tmp.filePath("Pozn/200219.tx"), "note");
    write(tmp.filePath("Log/STALE.PNG"), "old");
    write(outside.filePath("precious.txt"), "outside");
    // A link to a folder outside the home must not lead the removal there.
    ASSERT_TRUE(QFile::link(outside.path(), tmp.filePath("RK/elsewhere")));

    const CommandResult r = run({tmp.path(), "--firms", "20", "--force"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    kvtest::DemoDb db(tmp.filePath("Dta/KV2001.db"));
    EXPECT_EQ(db.count("select count(*) from firma"), 20);
    EXPECT_TRUE(QFile::exists(tmp.filePath("mine.txt")));
    EXPECT_TRUE(QFile::exists(tmp.filePath("Pozn/200219.tx")));
    EXPECT_FALSE(QFile::exists(tmp.filePath("Log/STALE.PNG")));
    EXPECT_FALSE(QFileInfo(tmp.filePath("RK/elsewhere")).isSymLink());
    EXPECT_TRUE(QFile::exists(outside.filePath("precious.txt")));
}

} // namespace
