#include "tests/reports/ReportFixture.h"

#include "ui/FilteredLineEdit.h"
#include "ui/PageView.h"
#include "ui/PrintPreviewWindow.h"

#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace kv;

namespace
{

struct Preview {
    MemoryDataSource data{kvtest::firms(30)};
    Report report;
    PrintPreviewWindow preview;
    Preview()
    {
        kvtest::makeList(report, &data, 110); // nine firms a page: four pages
        preview.attachReport(&report);
        report.generate();
        preview.show();
    }
    void typeZoom(const QString& text)
    {
        preview.editZoom()->clear();
        QTest::keyClicks(preview.editZoom(), text);
        preview.tick();
    }
    void click(const char* name) { preview.findChild<QToolButton*>(name)->click(); }
};

TEST(Preview, ZoomFieldIsNormalisedAtTheNextTick)
{
    Preview p;
    EXPECT_EQ(p.preview.editZoom()->text(), "100");
    EXPECT_EQ(p.preview.view()->zoom(), 100);
    p.typeZoom("0050");
    EXPECT_EQ(p.preview.editZoom()->text(), "50");
    EXPECT_EQ(p.preview.view()->zoom(), 50);
    p.typeZoom("12345");
    EXPECT_EQ(p.preview.editZoom()->text(), "123");
    EXPECT_EQ(p.preview.view()->zoom(), 123);
    p.typeZoom("1");
    EXPECT_EQ(p.preview.editZoom()->text(), "1"); // shown, not applied
    EXPECT_EQ(p.preview.view()->zoom(), 123);
    p.typeZoom("000");
    EXPECT_EQ(p.preview.editZoom()->text(), "100");
    EXPECT_EQ(p.preview.view()->zoom(), 100);
    p.typeZoom("7x5");
    EXPECT_EQ(p.preview.view()->zoom(), 75);
}

TEST(Preview, NavigationStopsAtTheEnds)
{
    Preview p;
    ASSERT_EQ(p.preview.view()->pageCount(), 4);
    p.click("sbPrev");
    EXPECT_EQ(p.preview.view()->page(), 1);
    p.click("sbNext");
    p.click("sbNext");
    EXPECT_EQ(p.preview.view()->page(), 3);
    p.click("sbLast");
    EXPECT_EQ(p.preview.view()->page(), 4);
    p.click("sbNext");
    EXPECT_EQ(p.preview.view()->page(), 4);
    p.preview.tick();
    EXPECT_EQ(p.preview.statusText(), " Strana 4 z 4");
    p.click("sbFirst");
    p.preview.tick();
    EXPECT_EQ(p.preview.statusText(), " Strana 1 z 4");
}

TEST(Preview, ZoomButtonsRoundHalvesToEven)
{
    EXPECT_EQ(PrintPreviewWindow::wholePageZoom(QSize(101, 1000), QSizeF(190, 190)), 50); // 50.5
    EXPECT_EQ(PrintPreviewWindow::wholePageZoom(QSize(103, 1000), QSizeF(190, 190)), 52); // 51.5
    EXPECT_EQ(PrintPreviewWindow::wholePageZoom(QSize(800, 600), QSizeF(793.7, 1122.5)), 51);
    EXPECT_EQ(PrintPreviewWindow::pageWidthZoom(QSize(5, 1), QSizeF(4, 100)), 112); // 112.5
    EXPECT_EQ(PrintPreviewWindow::pageWidthZoom(QSize(7, 1), QSizeF(4, 100)), 158); // 157.5

    Preview p;
    p.preview.resize(900, 700);
    p.click("sbFull");
    const int whole = PrintPreviewWindow::wholePageZoom(p.preview.view()->viewSize(),
                                                        p.preview.view()->pagePixels());
    EXPECT_EQ(p.preview.view()->zoom(), whole);
    EXPECT_EQ(p.preview.editZoom()->text(), QString::number(whole));
    p.click("sbDetail");
    EXPECT_EQ(p.preview.view()->zoom(),
              PrintPreviewWindow::pageWidthZoom(p.preview.view()->viewSize(),
                                                p.preview.view()->pagePixels()));
}

TEST(Preview, ZoomKeysStepAlongTheScaleAndStopAtItsEnds)
{
    EXPECT_EQ(PrintPreviewWindow::zoomStep(100, 1), 125);
    EXPECT_EQ(PrintPreviewWindow::zoomStep(110, 1), 125); // a typed zoom joins the scale
    EXPECT_EQ(PrintPreviewWindow::zoomStep(110, -1), 100);
    EXPECT_EQ(PrintPreviewWindow::zoomStep(2000, 1), 2000);
    EXPECT_EQ(PrintPreviewWindow::zoomStep(10, -1), 10);
    EXPECT_EQ(PrintPreviewWindow::zoomStep(2, 1), 10);
}

TEST(Preview, PageCountGrowsWhileTheReportIsGenerated)
{
    MemoryDataSource data(kvtest::firms(60));
    Report report;
    kvtest::makeList(report, &data, 110);
    PrintPreviewWindow preview;
    QStringList seen;
    report.band("detail")->beforePrint = [&](ReportBand&) {
        preview.tick();
        if (seen.isEmpty() || seen.last() != preview.statusText())
            seen << preview.statusText();
        return true;
    };
    report.afterPrint = [&](Report&) { QTimer::singleShot(0, &preview, &QWidget::close); };
    preview.showReport(report); // returns when the window is closed
    EXPECT_EQ(seen, QStringList({" Strana 1 z 0", " Strana 1 z 1", " Strana 1 z 2", " Strana 1 z 3",
                                 " Strana 1 z 4", " Strana 1 z 5", " Strana 1 z 6"}));
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(preview.view()->store(), nullptr); // closing detaches the pages
    EXPECT_EQ(report.pageStore().pageCount(), 7);
}

TEST(Preview, ClosingDuringGenerationStopsIt)
{
    MemoryDataSource data(kvtest::firms(2000));
    Report report;
    kvtest::makeList(report, &data, 110);
    PrintPreviewWindow preview;
    int records = 0;
    report.band("detail")->beforePrint = [&](ReportBand&) {
        if (++records == 40)
            preview.close();
        return true;
    };
    preview.showReport(report);
    EXPECT_LT(records, 100);
    EXPECT_FALSE(report.isGenerating());
}

} // namespace
