#include "tests/reports/ReportFixture.h"

#include "reports/ReportExpression.h"
#include "reports/TextMeasure.h"
#include "tests/support/ErrorKind.h"

#include <gtest/gtest.h>

using namespace kv;
using kvtest::bandsOf;
using kvtest::textsOf;

namespace
{

const qreal kTop = Report::mmToUnits(10);

TEST(ReportEngine, BandsFollowInOrderAtTheirPositions)
{
    MemoryDataSource data(kvtest::firms(2));
    Report report;
    report.marginsMm = QMarginsF(10, 10, 10, 10);
    report.setDataSource(&data);
    auto& header = report.addBand(BandKind::PageHeader, "header");
    header.height = 30;
    header.addText("t", QRectF(0, 0, 300, 17), "Hlavička");
    auto& detail = report.addBand(BandKind::Detail, "detail");
    detail.height = 40;
    detail.addField("n", QRectF(8, 6, 400, 17), "TPrn", "nazev");
    auto& child = report.addBand(BandKind::Child, "child");
    child.parent = &detail;
    child.height = 20;
    child.addExpression("tel", QRectF(25, 3, 400, 17), "'Telefon     :  ' + TPrn.tel");
    auto& footer = report.addBand(BandKind::PageFooter, "footer");
    footer.height = 37;

    ASSERT_EQ(report.generate(), 1);
    const ReportPage& page = *report.pageStore().page(1);
    EXPECT_EQ(bandsOf(page),
              QStringList({"header", "detail", "child", "detail", "child", "footer"}));
    auto bands = kvtest::opsOf(page, DrawOp::Type::Band);
    EXPECT_NEAR(bands[0]->rect.top(), kTop, 1e-6);
    EXPECT_NEAR(bands[1]->rect.top(), kTop + 30, 1e-6);
    EXPECT_NEAR(bands[2]->rect.top(), kTop + 70, 1e-6);
    EXPECT_NEAR(bands[3]->rect.top(), kTop + 90, 1e-6);
    EXPECT_NEAR(bands[5]->rect.bottom(), report.pageSize().height() - kTop, 1e-6);
    EXPECT_NEAR(bands[1]->rect.left(), kTop, 1e-6);

    auto name = kvtest::opsOf(page, DrawOp::Type::Text, "detail");
    ASSERT_EQ(name.size(), 2u);
    EXPECT_EQ(name[1]->text, "Firma 2");
    EXPECT_NEAR(name[1]->rect.left(), kTop + 8, 1e-6);
    EXPECT_NEAR(name[1]->rect.top(), kTop + 90 + 6, 1e-6);
    EXPECT_EQ(textsOf(page, "child"),
              QStringList({"Telefon     :  +420 500001", "Telefon     :  +420 500002"}));
}

TEST(ReportEngine, PageBreaksKeepRoomForTheFooterAndNumberPages)
{
    MemoryDataSource data(kvtest::firms(20));
    Report report;
    // Content 1046.9 units, footer 37: nine 110-unit bands fit (990), ten do not.
    kvtest::makeList(report, &data, 110);
    ASSERT_EQ(report.generate(), 3);
    for (int n = 1; n <= 3; ++n) {
        const ReportPage& page = *report.pageStore().page(n);
        EXPECT_EQ(page.number, n);
        EXPECT_EQ(textsOf(page, "footer"), QStringList{QStringLiteral("Strana: %1").arg(n)});
        auto bands = kvtest::opsOf(page, DrawOp::Type::Band, "detail");
        EXPECT_EQ(int(bands.size()), n < 3 ? 9 : 2);
        EXPECT_NEAR(bands.front()->rect.top(), kTop, 1e-6);
        const qreal footerTop = kvtest::opsOf(page, DrawOp::Type::Band, "footer")[0]->rect.top();
        EXPECT_LE(bands.back()->rect.bottom(), footerTop + 1e-6);
    }
    EXPECT_EQ(textsOf(*report.pageStore().page(2), "detail").first(), "Firma 10");
}

TEST(ReportEngine, EmptyDataGivesNoPageUnlessAskedTo)
{
    MemoryDataSource data;
    Report report;
    kvtest::makeList(report, &data);
    EXPECT_EQ(report.generate(), 0);
    EXPECT_TRUE(report.pageStore().isFinished());
    report.printIfEmpty = true;
    ASSERT_EQ(report.generate(), 1);
    EXPECT_EQ(textsOf(*report.pageStore().page(1), "footer"), QStringList{"Strana: 1"});
}

TEST(ReportEngine, BeforePrintCanCancelAndPrepareTheRun)
{
    MemoryDataSource data(kvtest::firms(3));
    Report report;
    kvtest::makeList(report, &data);
    report.beforePrint = [](Report&) { return false; };
    EXPECT_EQ(report.generate(), 0);
    int runs = 0;
    report.beforePrint = [&](Report& r) {
        ++runs;
        r.band("detail")->box("name")->source = "TPrn";
        return true;
    };
    EXPECT_EQ(report.generate(), 1);
    EXPECT_EQ(report.generate(), 1);
    EXPECT_EQ(runs, 2);
}

TEST(ReportEngine, BandHookSuppressesAndReshapesBands)
{
    MemoryDataSource data(kvtest::firms(3));
    Report report;
    kvtest::makeList(report, &data, 25);
    auto& detail = *report.band("detail");
    auto& tel = detail.addField("tel", QRectF(25, 18, 300, 15), "", "tel");
    Q_UNUSED(tel);
    detail.beforePrint = [&](ReportBand& band) {
        const int peno = data.value("peno").toInt();
        if (peno == 2)
            return false;
        band.height = peno == 1 ? 40 : 25;
        band.box("tel")->visible = peno == 1;
        band.box("tel")->rect.moveTop(peno == 1 ? 20 : 18);
        return true;
    };
    report.generate();
    const ReportPage& page = *report.pageStore().page(1);
    EXPECT_EQ(textsOf(page, "detail"), QStringList({"Firma 1", "+420 500001", "Firma 3"}));
    auto bands = kvtest::opsOf(page, DrawOp::Type::Band, "detail");
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_NEAR(bands[1]->rect.top(), kTop + 40, 1e-6);
    EXPECT_NEAR(kvtest::opsOf(page, DrawOp::Type::Text, "detail")[1]->rect.top(), kTop + 20, 1e-6);
}

TEST(ReportEngine, SubDetailsWithHeadersAndEmptyCursorPrinting)
{
    MemoryDataSource firms(kvtest::firms(2));
    MemoryDataSource persons({{{"peno", 1}, {"osoba", "Novák"}},
                              {{"peno", 1}, {"osoba", "Dvořák"}},
                              {{"peno", 3}, {"osoba", "Cizí"}}});
    persons.setMaster(&firms, "peno");
    MemoryDataSource notes;
    notes.setMaster(&firms, "peno");
    Report report;
    report.setDataSource(&firms);
    report.addSource("TOsoby_2", &persons);
    auto& main = report.addBand(BandKind::Detail, "bMain");
    main.height = 100;
    main.forceNewPage = true;
    main.topLine = true;
    auto& head = report.addBand(BandKind::GroupHeader, "bOskontakt");
    head.height = 20;
    auto& sd = report.addBand(BandKind::SubDetail, "sdOskontakt");
    sd.height = 17;
    sd.master = &main;
    sd.header = &head;
    sd.dataSource = &persons;
    sd.addField("o", QRectF(88, 0, 300, 17), "TOsoby_2", "osoba");
    auto& noteHead = report.addBand(BandKind::GroupHeader, "bPozn");
    noteHead.height = 20;
    auto& noteSd = report.addBand(BandKind::SubDetail, "sdPozn");
    noteSd.height = 17;
    noteSd.master = &main;
    noteSd.header = &noteHead;
    noteSd.dataSource = &notes;
    noteSd.printWhenEmpty = true;

    ASSERT_EQ(report.generate(), 2); // a new page for each firm, none empty before the first
    EXPECT_EQ(
        bandsOf(*report.pageStore().page(1)),
        QStringList({"bMain", "bOskontakt", "sdOskontakt", "sdOskontakt", "bPozn", "sdPozn"}));
    EXPECT_EQ(textsOf(*report.pageStore().page(1), "sdOskontakt"),
              QStringList({"Novák", "Dvořák"}));
    EXPECT_EQ(bandsOf(*report.pageStore().page(2)), QStringList({"bMain", "bPozn", "sdPozn"}));
    EXPECT_EQ(kvtest::opsOf(*report.pageStore().page(2), DrawOp::Type::Line, "bMain").size(), 1u);
}

TEST(ReportEngine, StretchingBandContinuesOnTheNextPage)
{
    MemoryDataSource data(kvtest::firms(1));
    Report report;
    kvtest::makeList(report, &data, 25);
    auto& note = report.addBand(BandKind::Child, "note");
    note.parent = report.band("detail");
    note.height = 17;
    QStringList lines;
    for (int i = 1; i <= 120; ++i)
        lines << QStringLiteral("Řádek poznámky %1").arg(i);
    auto& box = note.addText("text", QRectF(88, 0, 625, 17), lines.join("\r\n"));
    box.wordWrap = true;
    box.autoStretch = true;

    const int pages = report.generate();
    ASSERT_GE(pages, 2);
    QStringList printed;
    for (int n = 1; n <= pages; ++n) {
        const ReportPage& page = *report.pageStore().page(n);
        const qreal footerTop = kvtest::opsOf(page, DrawOp::Type::Band, "footer")[0]->rect.top();
        auto ops = kvtest::opsOf(page, DrawOp::Type::Text, "note");
        ASSERT_FALSE(ops.empty());
        for (const DrawOp* op : ops) {
            EXPECT_LE(op->rect.bottom(), footerTop + 1e-6);
            printed << op->text;
        }
        if (n > 1) { // the continuation starts at the top of the page
            EXPECT_NEAR(ops.front()->rect.top(), kTop, 1e-6);
        }
    }
    EXPECT_EQ(printed, lines);
    // The first page is filled: the band did not jump whole to the next page.
    EXPECT_EQ(kvtest::opsOf(*report.pageStore().page(1), DrawOp::Type::Text, "note")[0]->text,
              "Řádek poznámky 1");
}

TEST(ReportEngine, LabelsFlowDownAColumnThenAcross)
{
    // 3 x 6 labels on A4 with 10 mm margins and 5 mm gaps, as the label report
    // lays them out: the child gap is one layout unit short, the last label of
    // a column has an almost empty gap.
    Report report;
    report.marginsMm = QMarginsF(10, 10, 10, 10 - 5);
    report.columns = 3;
    report.columnGapMm = 5;
    const qreal labelMm = (297 - 20 - 5 * 5) / 6.0;
    auto& detail = report.addBand(BandKind::Detail, "label");
    detail.height = Report::mmToUnits(labelMm);
    detail.addExpression("c", QRectF(3, 8, 100, 17), "'S' + COLUMNNUMBER");
    auto& gap = report.addBand(BandKind::Child, "gap");
    gap.parent = &detail;
    const qreal gapUnits = Report::mmToUnits(5 - 297.0 / 1123.0);
    int label = 0, counter = 0;
    report.needData = [&](Report&) {
        if (++counter == 6) {
            gap.height = Report::mmToUnits(0.1);
            counter = 0;
        } else {
            gap.height = gapUnits;
        }
        return ++label <= 7;
    };
    ASSERT_EQ(report.generate(), 1);
    const ReportPage& page = *report.pageStore().page(1);
    auto labels = kvtest::opsOf(page, DrawOp::Type::Band, "label");
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(textsOf(page, "label"), QStringList({"S1", "S1", "S1", "S1", "S1", "S1", "S2"}));
    EXPECT_NEAR(labels[6]->rect.top(), kTop, 1e-6);
    EXPECT_NEAR(labels[6]->rect.left(), Report::mmToUnits(10 + labelMm * 0 + 60 + 5), 1);
    EXPECT_NEAR(labels[5]->rect.top(), Report::mmToUnits(10 + 5 * labelMm) + 5 * gapUnits, 1e-6);
}

TEST(ReportEngine, CancelStopsTheRun)
{
    MemoryDataSource data(kvtest::firms(500));
    Report report;
    kvtest::makeList(report, &data, 100);
    int seen = 0;
    report.band("detail")->beforePrint = [&](ReportBand&) {
        if (++seen == 25)
            report.cancel();
        return true;
    };
    report.generate();
    EXPECT_EQ(seen, 25);
    EXPECT_LE(report.pageStore().pageCount(), 3);
    EXPECT_TRUE(report.pageStore().isFinished());
    // The next run starts afresh.
    report.band("detail")->beforePrint = nullptr;
    EXPECT_EQ(report.generate(), 50);
}

TEST(ReportExpression, LiteralsFieldsAndFunctions)
{
    MemoryDataSource prn(kvtest::firms(1));
    prn.first();
    ExpressionContext c;
    c.source = [&](const QString& n) -> const ReportDataSource* {
        return n.isEmpty() || n.compare("TPrn", Qt::CaseInsensitive) == 0 ? &prn : nullptr;
    };
    c.pageNumber = 7;
    c.columnNumber = 2;
    c.reportTitle = "Profily";
    EXPECT_EQ(ReportExpression::evaluate("'Telefon     :  ' + TPrn.tel", c),
              "Telefon     :  +420 500001");
    EXPECT_EQ(ReportExpression::evaluate("nazev+'; '+tprn.peno", c), "Firma 1; 1");
    EXPECT_EQ(ReportExpression::evaluate("'Strana: ' + PAGENUMBER", c), "Strana: 7");
    EXPECT_EQ(ReportExpression::evaluate("COLUMNNUMBER() + '/' + reporttitle", c), "2/Profily");
    EXPECT_EQ(ReportExpression::evaluate("'it''s'", c), "it's");
    EXPECT_EQ(ReportExpression::evaluate("", c), "");
    EXPECT_EQ(ReportExpression::evaluate("TPrn.email", c), ""); // no such value: empty
    EXPECT_KV_ERROR(ReportExpression::evaluate("TOsoby.osoba", c), Report);
    EXPECT_KV_ERROR(ReportExpression::evaluate("'a' 'b'", c), Report);
    EXPECT_KV_ERROR(ReportExpression::evaluate("'open", c), Report);
    EXPECT_KV_ERROR(ReportExpression::evaluate("'a' +", c), Report);
}

TEST(ReportEngine, FaultyExpressionStopsGenerationWithItsMessage)
{
    MemoryDataSource data(kvtest::firms(2));
    Report report;
    kvtest::makeList(report, &data);
    report.band("detail")->addExpression("bad", QRectF(0, 0, 10, 10), "TNic.x");
    try {
        report.generate();
        FAIL() << "no error";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Report);
        EXPECT_TRUE(e.message().contains("TNic"));
    }
    EXPECT_FALSE(report.isGenerating());
    EXPECT_TRUE(report.pageStore().isFinished());
}

TEST(TextMeasure, WrapsAtWordsAndKeepsExplicitBreaks)
{
    QFont f("Arial");
    f.setPointSizeF(9);
    const qreal w = TextMeasure::width("Alfa Beta", f);
    EXPECT_GT(w, TextMeasure::width("Alfa", f));
    EXPECT_EQ(TextMeasure::lines("Alfa Beta Gama", f, w + 1, true),
              QStringList({"Alfa Beta", "Gama"}));
    EXPECT_EQ(TextMeasure::lines("a\r\nb\n\nc", f, 1000, false), QStringList({"a", "b", "", "c"}));
    EXPECT_EQ(TextMeasure::lines("Alfa Beta Gama", f, 1000, false),
              QStringList({"Alfa Beta Gama"}));
}

} // namespace
