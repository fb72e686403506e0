#include "tests/reports/ReportFixture.h"

#include "reports/PrinterPageSink.h"
#include "ui/ReportPrintSetup.h"
#include "ui/ReportPrinter.h"

#include "tests/support/PdfProbe.h"
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv;
using kvtest::pdfPages;
using kvtest::pdfText;

namespace
{

struct PdfReport {
    MemoryDataSource data{kvtest::firms(45)};
    Report report;
    PdfReport()
    {
        kvtest::makeList(report, &data, 60);
        auto& note = report.addBand(BandKind::Child, "note");
        note.parent = report.band("detail");
        note.height = 17;
        auto& box = note.addText("text", QRectF(25, 0, 300, 17),
                                 "Velkoobchod stavebním materiálem, doprava a montáž "
                                 "sádrokartonových příček a podhledů");
        box.wordWrap = true;
        box.autoStretch = true;
    }
};

class Recording : public PageSink
{
public:
    bool addPage(ReportPage&& page) override
    {
        pages.push_back(std::move(page));
        return true;
    }
    std::vector<ReportPage> pages;
};

TEST(PrintToPdf, PageRangeHoldsExactlyThosePages)
{
    QTemporaryDir dir;
    PdfReport r;
    const int pages = r.report.generate();
    ASSERT_GE(pages, 4);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("range.pdf"));
    ASSERT_TRUE(ReportPrinter::printTo(r.report, printer, 2, 3));
    EXPECT_EQ(pdfPages(dir.filePath("range.pdf")), 2);
    const QString text = pdfText(dir.filePath("range.pdf"));
    EXPECT_TRUE(text.contains("Strana: 2"));
    EXPECT_TRUE(text.contains("Strana: 3"));
    EXPECT_FALSE(text.contains("Strana: 1"));
    EXPECT_FALSE(text.contains("Strana: 4"));

    // The preview's pages stay as they were.
    EXPECT_EQ(r.report.pageStore().pageCount(), pages);

    printer.setOutputFileName(dir.filePath("all.pdf"));
    ASSERT_TRUE(ReportPrinter::printTo(r.report, printer, 0, 0));
    EXPECT_EQ(pdfPages(dir.filePath("all.pdf")), pages);
}

TEST(PrintToPdf, ReportPrintUsesItsPrinterSettings)
{
    QTemporaryDir dir;
    PdfReport r;
    const int pages = r.report.generate();
    auto& s = ReportPrinter::of(r.report);
    s.printer().setOutputFormat(QPrinter::PdfFormat);
    s.printer().setOutputFileName(dir.filePath("settings.pdf"));
    s.firstPage = pages - 1;
    s.lastPage = pages + 5;
    ASSERT_TRUE(s.print());
    EXPECT_EQ(pdfPages(dir.filePath("settings.pdf")), 2); // the last two
    // Printing twice gives the same pages: every run walks the data afresh.
    s.printer().setOutputFileName(dir.filePath("again.pdf"));
    ASSERT_TRUE(s.print());
    EXPECT_EQ(pdfText(dir.filePath("settings.pdf")), pdfText(dir.filePath("again.pdf")));
    // The choice belongs to this report: another starts afresh.
    PdfReport other;
    EXPECT_NE(&ReportPrinter::of(other.report), &s);
    EXPECT_EQ(&ReportPrinter::of(r.report), &s);
    EXPECT_EQ(ReportPrinter::of(other.report).firstPage, 0);
}

TEST(PrintToPdf, CopiesToAPdfFileRepeatTheChosenPages)
{
    QTemporaryDir dir;
    PdfReport r;
    const int pages = r.report.generate();
    ASSERT_GE(pages, 3);
    auto& s = ReportPrinter::of(r.report);
    s.printer().setOutputFormat(QPrinter::PdfFormat);
    s.printer().setOutputFileName(dir.filePath("copies.pdf"));
    s.copies = 3;
    s.firstPage = 2;
    s.lastPage = 3;
    ASSERT_TRUE(s.print());
    EXPECT_EQ(pdfPages(dir.filePath("copies.pdf")), 6);
    // Collated: 2, 3, 2, 3, 2, 3.
    const QString text = pdfText(dir.filePath("copies.pdf"));
    QStringList order;
    for (const auto& m : QRegularExpression("Strana: (\\d+)").globalMatch(text))
        order << m.captured(1);
    EXPECT_EQ(order, QStringList({"2", "3", "2", "3", "2", "3"}));

    s.copies = 1;
    s.printer().setOutputFileName(dir.filePath("one.pdf"));
    ASSERT_TRUE(s.print());
    EXPECT_EQ(pdfPages(dir.filePath("one.pdf")), 2);
}

TEST(PrintToPdf, LineBreaksDoNotDependOnTheResolution)
{
    QTemporaryDir dir;
    PdfReport r;
    Recording high, low;
    QPrinter hi(QPrinter::HighResolution);
    hi.setOutputFormat(QPrinter::PdfFormat);
    hi.setOutputFileName(dir.filePath("hi.pdf"));
    QPrinter lo(QPrinter::ScreenResolution);
    lo.setOutputFormat(QPrinter::PdfFormat);
    lo.setOutputFileName(dir.filePath("lo.pdf"));
    ASSERT_NE(hi.resolution(), lo.resolution());
    ASSERT_TRUE(ReportPrinter::printTo(r.report, hi, 0, 0, 1, &high));
    ASSERT_TRUE(ReportPrinter::printTo(r.report, lo, 0, 0, 1, &low));
    ASSERT_GE(high.pages.size(), 4u);
    ASSERT_EQ(low.pages.size(), high.pages.size());
    for (size_t i = 0; i < high.pages.size(); ++i)
        EXPECT_EQ(kvtest::textsOf(high.pages[i]), kvtest::textsOf(low.pages[i]));
    // The note wraps, and each printed line comes out as one line of the PDF.
    const QStringList noteLines = kvtest::textsOf(high.pages[0], "note");
    ASSERT_GE(noteLines.size(), 18);
    const QString hiText = pdfText(dir.filePath("hi.pdf"));
    EXPECT_EQ(hiText, pdfText(dir.filePath("lo.pdf")));
    EXPECT_TRUE(hiText.contains(noteLines[0] + "\n" + noteLines[1]));
}

TEST(PrintSetup, OfferedRangeAndChosenPages)
{
    PdfReport r;
    EXPECT_EQ(ReportPrintSetup::offeredRange(r.report), std::make_pair(0, 9999));
    const int pages = r.report.generate();
    EXPECT_EQ(ReportPrintSetup::offeredRange(r.report), std::make_pair(1, pages));

    QPrinter chosen;
    chosen.setCopyCount(3);
    chosen.setPageOrientation(QPageLayout::Landscape);
    auto& s = ReportPrinter::of(r.report);
    ReportPrintSetup::apply(r.report, chosen, QAbstractPrintDialog::PageRange, 2, 3);
    EXPECT_EQ(s.copies, 3);
    EXPECT_EQ(r.report.orientation, QPageLayout::Landscape);
    EXPECT_EQ(s.firstPage, 2);
    EXPECT_EQ(s.lastPage, 3);
    ReportPrintSetup::apply(r.report, chosen, QAbstractPrintDialog::AllPages, 2, 3);
    EXPECT_EQ(s.firstPage, 0);
    EXPECT_EQ(s.lastPage, 0);
    // The landscape page is what the next run lays out.
    EXPECT_GT(r.report.pageSize().width(), r.report.pageSize().height());
}

} // namespace
