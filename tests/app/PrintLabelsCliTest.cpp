// `kvelta print labels` on a generated data home.
#include "cli/LabelPrintCommand.h"
#include "core/ListFile.h"
#include "domain/LabelSettings.h"
#include "tests/support/DemoHome.h"

#include "tests/support/PdfProbe.h"
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

struct CliRun {
    int code = 0;
    QString out, err;
};

CliRun printLabels(const QStringList& args)
{
    CliRun r;
    QTextStream out(&r.out), err(&r.err);
    r.code = kv::printLabelsCommand(args, out, err);
    return r;
}

QString pdfInfo(const QString& file, const char* key)
{
    QProcess p;
    p.start("pdfinfo", {file});
    p.waitForFinished(30000);
    const auto m = QRegularExpression(QStringLiteral(R"(%1:\s+(.+))").arg(QLatin1String(key)))
                       .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

} // namespace

TEST(PrintLabelsCli, WritesTheLabelsOfTheWholeTable)
{
    QTemporaryDir dir;
    const QString home = kvtest::demoHome(40);
    const QString pdf = dir.filePath("labels.pdf");
    const CliRun r = printLabels({"--home", home, "-o", pdf});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    // 40 firms at 18 per sheet.
    EXPECT_EQ(pdfInfo(pdf, "Pages"), "3");
    EXPECT_TRUE(pdfInfo(pdf, "Page size").startsWith("595")) << "A4";

    // A label file with 2 x 8 labels and only the names.
    kv::LabelSettings s;
    s.fields[kv::LabelGeometry::CountH] = "2";
    s.fields[kv::LabelGeometry::CountV] = "8";
    s.options = {false, true, false, false, false, false};
    kv::LabelFile::save(s, dir.filePath("names.kl"));
    const CliRun named =
        printLabels({"--home", home, "--labels", dir.filePath("names.kl"), "-o", pdf});
    ASSERT_EQ(named.code, 0) << named.err.toStdString();
    EXPECT_EQ(pdfInfo(pdf, "Pages"), "3");
}

TEST(PrintLabelsCli, BadLabelFileEndsWithExitCodeTwo)
{
    QTemporaryDir dir;
    const QString home = kvtest::demoHome(40);
    QStringList lines = kv::LabelFile::lines(kv::LabelSettings{});
    lines[0] = "kv2001;labels;";
    kv::saveListFile(lines, dir.filePath("bad.kl"), 1, 0x0E);
    const QString pdf = dir.filePath("out.pdf");
    CliRun r = printLabels({"--home", home, "--labels", dir.filePath("bad.kl"), "-o", pdf});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains("Kvelta 2001"));
    EXPECT_FALSE(QFile::exists(pdf));

    kv::saveListFile(lines.mid(0, 12).replaceInStrings("kv2001;labels;", "KV2001;Labels;"),
                     dir.filePath("short.kl"), 1, 0x0E);
    r = printLabels({"--home", home, "--labels", dir.filePath("short.kl"), "-o", pdf});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(dir.filePath("short.kl")));
    r = printLabels({"--home", home, "--labels", dir.filePath("missing.kl"), "-o", pdf});
    EXPECT_EQ(r.code, 2);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(PrintLabelsCli, TheExecutableDispatchesPrintLabels)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("exe.pdf");
    QProcess p;
    p.start(KV_KVELTA_EXE, {"print", "labels", "--home", kvtest::demoHome(40), "-o", pdf});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(pdfInfo(pdf, "Pages"), "3");
    EXPECT_FALSE(kvtest::pdfText(pdf).trimmed().isEmpty());
}
