// kvelta export: the same bytes as the export window's for the same choices,
// the whole company table without a selection, the selection's firms with
// one, and the refusal of bad arguments.
#include "cli/ExportCommand.h"

#include "demo/DemoGenerator.h"
#include "demo/DemoHomeFolder.h"
#include "domain/Export.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "engine/Database.h"
#include "engine/TableCursor.h"
#include "tests/support/DemoHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using kv::ExportChoice;
using kv::ExportItem;

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

class ExportCli : public ::testing::Test
{
protected:
    Outcome run(const QStringList& args)
    {
        Outcome r;
        QTextStream out(&r.out);
        QTextStream err(&r.err);
        r.code =
            kv::exportCommand(QStringList{"--home", kvtest::selectionDemoHome()} + args, out, err);
        out.flush();
        err.flush();
        return r;
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // What the window writes for the whole company table in the list's order.
    QByteArray windowBytes(const ExportChoice& choice)
    {
        kv::engine::Database db(QDir(kvtest::selectionDemoHome()).filePath("Dta/KV2001.db"));
        kv::engine::TableCursor firms(db, "firma");
        firms.setSort("nazev");
        firms.open();
        const QString path = dir.filePath("window.txt");
        EXPECT_EQ(kv::TextExport::run(db, firms, choice, path).status,
                  kv::TextExport::Status::Written);
        return read(path);
    }
    QTemporaryDir dir;
};

TEST_F(ExportCli, DefaultsAreTheWindowsDesignedChoices)
{
    const QString out = dir.filePath("a.txt");
    const Outcome r = run({"-o", out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QByteArray bytes = read(out);
    const int firms = kvtest::demoRowCount("select peno from firma");
    EXPECT_EQ(bytes.count("\r\n"), firms);
    EXPECT_EQ(r.out, QString::number(firms) + "\n");
    EXPECT_EQ(r.err, QString::number(firms) + " firms written to " +
                         QFileInfo(out).absoluteFilePath() + "\n");
    EXPECT_EQ(bytes, windowBytes(ExportChoice()));
    // Four values, each followed by a tab, on every line.
    EXPECT_EQ(bytes.count('\t'), 4 * firms);
}

TEST_F(ExportCli, ItemsKeepTheLineOrderWhateverTheArgumentOrder)
{
    const QString out = dir.filePath("b.txt");
    const Outcome r = run({"--items", "osoba,tel,nazev", "--separator", "semicolon", "-o", out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ExportChoice choice;
    choice.items.fill(false);
    choice.set(ExportItem::Nazev, true);
    choice.set(ExportItem::Tel, true);
    choice.set(ExportItem::Osoba, true);
    choice.separator = ";";
    EXPECT_EQ(read(out), windowBytes(choice));
}

TEST_F(ExportCli, AnyOtherSeparatorTextIsTakenAsIs)
{
    const QString out = dir.filePath("c.txt");
    ASSERT_EQ(run({"--items", "psc", "--separator", " - ", "-o", out}).code, 0);
    ExportChoice choice;
    choice.items.fill(false);
    choice.set(ExportItem::Psc, true);
    choice.separator = " - ";
    EXPECT_EQ(read(out), windowBytes(choice));
}

TEST_F(ExportCli, EmptySeparatorIsRefusedAndWritesNothing)
{
    const QString out = dir.filePath("empty.txt");
    const Outcome r = run({"--items", "nazev,psc", "--separator", "", "-o", out});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("separator must not be empty")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(ExportCli, SelectionFileNarrowsTheSet)
{
    kv::SelectionState s;
    s.row(kv::SelectionState::Row::Misto).add("Praha", "2516");
    const QString file = dir.filePath("s.kvv");
    kv::saveSelection(s, file);
    const QString out = dir.filePath("d.txt");
    const Outcome r = run({file, "--items", "nazev", "-o", out});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const int expected = kvtest::demoRowCount("select peno from firma where misto_id=2516");
    ASSERT_GT(expected, 0);
    EXPECT_EQ(read(out).count("\r\n"), expected);
}

TEST_F(ExportCli, BadArgumentsAreRefusedWithoutWriting)
{
    const QString out = dir.filePath("e.txt");
    EXPECT_EQ(run({}).code, 2);
    EXPECT_EQ(run({"--items", "nazev,fish", "-o", out}).code, 2);
    EXPECT_EQ(run({"-o"}).code, 2);
    EXPECT_EQ(run({dir.filePath("missing.kvv"), "-o", out}).code, 2);
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(ExportCli, FormatCsvWritesUtf8WithHeaderAndCommasAndUnknownFormatIsRefused)
{
    const QString csv = dir.filePath("e.csv");
    Outcome r = run({"--format", "csv", "--items", "nazev,misto", "-o", csv});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    ASSERT_TRUE(read(csv).startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(read(csv).mid(3));
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), QString::fromUtf8("Číslo firmy,IČO,Název firmy,Místo"));
    EXPECT_EQ(lines.size(), r.out.trimmed().toInt() + 1);
    // The same firms as the default export, in the same order.
    const QString txt = dir.filePath("e.txt");
    ASSERT_EQ(run({"--items", "nazev", "-o", txt}).code, 0);
    const QByteArray plain = read(txt);
    EXPECT_EQ(plain.count("\r\n"), lines.size() - 1);

    r = run({"--format", "ods", "-o", dir.filePath("e.ods")});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("ods"));
    EXPECT_FALSE(QFile::exists(dir.filePath("e.ods")));
}

TEST_F(ExportCli, UnwritableTargetExitsFive)
{
    const Outcome r = run({"-o", dir.filePath("no/such/folder/x.txt")});
    EXPECT_EQ(r.code, 5);
    EXPECT_TRUE(r.err.contains("x.txt"));
}

TEST(ExportCliLimit, MoreThanFiveThousandFirmsExitFourWithText218)
{
    QTemporaryDir home;
    QString error;
    ASSERT_TRUE(kv::DemoHomeFolder::prepare(home.path(), true, &error)) << error.toStdString();
    kv::DemoGenerator::Options options;
    options.firms = 5001;
    kv::DemoGenerator generator(options);
    ASSERT_TRUE(generator.generate(home.path())) << generator.error().toStdString();

    QTemporaryDir dir;
    const QString out = dir.filePath("x.txt");
    QString outText;
    QString errText;
    QTextStream o(&outText);
    QTextStream e(&errText);
    const int code = kv::exportCommand({"--home", home.path(), "-o", out}, o, e);
    e.flush();
    EXPECT_EQ(code, 4);
    EXPECT_TRUE(errText.startsWith(QString::fromUtf8("Lze exportovat nejvíce 5000 záznamů.")))
        << errText.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}

} // namespace
