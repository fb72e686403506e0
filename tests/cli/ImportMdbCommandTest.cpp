// kvelta import-mdb: arguments, exit codes, the report and both progress styles.
#include "cli/ImportMdbCommand.h"
#include "cli/ImportProgressPrinter.h"
#include "tests/jetimport/JetSamples.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace
{

struct CommandRun {
    int code = -1;
    QString out;
    QString err;
};

CommandRun importMdb(const QStringList& args, bool terminal = false)
{
    CommandRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = kv::importMdb(args, out, err, terminal);
    out.flush();
    err.flush();
    return r;
}

} // namespace

TEST(ImportMdbCommand, ArgumentErrors)
{
    EXPECT_EQ(importMdb({}).code, 2);
    EXPECT_EQ(importMdb({"a.mdb"}).code, 2);
    const CommandRun extra = importMdb({"a.mdb", "b.db", "c.db"});
    EXPECT_EQ(extra.code, 2);
    EXPECT_TRUE(extra.err.contains("usage: kvelta import-mdb"));
    const CommandRun noValue = importMdb({"a.mdb", "b.db", "--charset"});
    EXPECT_EQ(noValue.code, 2);
    EXPECT_TRUE(noValue.err.contains("--charset needs a value"));
    EXPECT_EQ(importMdb({"a.mdb", "b.db", "--force"}).code, 2);
}

TEST(ImportMdbCommand, IncompleteCompanyDatabaseIsImportedAndNamed)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out.db");
    const CommandRun r = importMdb({kvtest::jetSample("indexTestV2000.mdb"), out});
    EXPECT_EQ(r.code, 3) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(out));
    EXPECT_TRUE(r.out.contains("Imported 3 tables with 11 rows")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Jet 4 (Access 2000-2003)"));
    EXPECT_TRUE(r.out.contains("Missing tables: firma, osoby, reklamy"));
    // Not a terminal: one plain line per table, no carriage returns.
    EXPECT_TRUE(r.out.contains("1/3 Table1: 4 rows\n"));
    EXPECT_FALSE(r.out.contains(u'\r'));
}

TEST(ImportMdbCommand, CharsetOptionReachesTheReader)
{
    QTemporaryDir dir;
    const CommandRun bad = importMdb(
        {kvtest::jetSample("testV1997.mdb"), dir.filePath("x.db"), "--charset", "NO-SUCH-CS"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.contains("NO-SUCH-CS"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(ImportMdbCommand, NotAJetFileFailsWithoutOutput)
{
    QTemporaryDir dir;
    const QString text = dir.filePath("readme.mdb");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Standard text, not a database\n");
    f.close();
    const CommandRun r = importMdb({text, dir.filePath("out.db")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(text + " is not a Microsoft Jet database")) << r.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"readme.mdb"}));
}

TEST(ImportProgressPrinter, PlainLinesOffATerminal)
{
    QString text;
    QTextStream out(&text);
    kv::jet::ImportProgressPrinter printer(out, false);
    printer.update(0, 2, QString(), 0);
    printer.update(1, 2, "firma", 120);
    printer.update(2, 2, "osoby", 0);
    EXPECT_EQ(text, "1/2 firma: 120 rows\n2/2 osoby: 0 rows\n");
}

TEST(ImportProgressPrinter, OneBarRedrawnInPlaceOnATerminal)
{
    QString text;
    QTextStream out(&text);
    kv::jet::ImportProgressPrinter printer(out, true, 4);
    printer.update(0, 2, QString(), 0);
    printer.update(1, 2, "slnazev_p", 10);
    printer.update(2, 2, "osoby", 3);
    // The shorter last line wipes the rest of the longer one before it.
    EXPECT_EQ(text, "\r[....] 0/2"
                    "\r[##..] 1/2 slnazev_p"
                    "\r[####] 2/2 osoby    \n");
}
