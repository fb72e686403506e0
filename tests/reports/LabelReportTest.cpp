// Address labels: the composer's lines and the column flow over firms in
// memory (in test_reports only: no company data is read); over the data
// module's print cursor on SQLite and, in test_reports_pg, on the server.
#include "domain/DataModule.h"
#include "domain/PrintCursorScope.h"
#include "reports/AddressLabelReport.h"
#include "reports/LabelComposer.h"
#include "reports/TableCursorSource.h"
#include "tests/reports/ReportFixture.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestBackend.h"

#include <gtest/gtest.h>

#include <optional>

using namespace kv;

namespace
{

// listSet()'s firms 1 to 3 as kvelta print labels prints them: the print
// cursor opened afresh for every run, in the company cursor's sort.
class LabelsOfTheCompanySet : public ::testing::TestWithParam<kvtest::BackendCase>
{
};

TEST_P(LabelsOfTheCompanySet, OneLabelPerFirmInTheCursorsSortOnEveryRun)
{
    kvtest::CompanyDb build(kvtest::CompanyDb::Where::DataHome);
    build.listSet();
    kvtest::serveCompanyData(build, GetParam());
    DataModule& dm = build.openDataModule(QStringLiteral("(peno in(1,2,3))"));
    TableCursorSource source(*dm.printFirms());
    std::optional<PrintCursorScope> scope;
    AddressLabelReport report(source, [&dm, &scope]() {
        scope.reset();
        scope.emplace(dm);
    });
    report.setMargins(10, 10, 10, 5);
    report.layout(3, 6, 60, 42, 5, 5);
    const QStringList expected{"Alfa", "Krátká 1", "Brno", "60200", "Beta", "Dlouhá 5",
                               "Zlín", "76001",    "Gama", "Aš",    "35201"};
    for (int run = 1; run <= 2; ++run) {
        ASSERT_EQ(report.report().generate(), 1);
        EXPECT_EQ(kvtest::textsOf(*report.report().pageStore().page(1), "label"), expected)
            << "run " << run;
    }
    scope.reset();
    EXPECT_FALSE(dm.printFirms()->isOpen());
}

INSTANTIATE_TEST_SUITE_P(Engines, LabelsOfTheCompanySet, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });

} // namespace

#ifndef KV_TEST_ON_SERVER
namespace
{

// Every character 10 units wide, so widths are easy to reason about.
LabelComposer fixedWidth(qreal lineWidth)
{
    LabelComposer c([](const QString& t) { return 10.0 * t.size(); });
    c.lineWidth = lineWidth;
    return c;
}

QList<QVariantMap> addressed(int count)
{
    QList<QVariantMap> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({{"nazev", QStringLiteral("Firma %1").arg(i)},
                     {"ulice", QStringLiteral("Ulice %1").arg(i)},
                     {"misto", QStringLiteral("Brno")},
                     {"psc", QStringLiteral("602 00")}});
    return rows;
}

struct Labels {
    MemoryDataSource data;
    int prepared = 0;
    AddressLabelReport report{data, [this]() { ++prepared; }};

    explicit Labels(QList<QVariantMap> rows) : data(std::move(rows))
    {
        report.setMargins(10, 10, 10, 10 - 5);
        report.layout(3, 6, 60, 42, 5, 5);
    }
    // The label bands of page n.
    std::vector<const DrawOp*> labels(int n)
    {
        std::vector<const DrawOp*> out;
        for (const DrawOp* op :
             kvtest::opsOf(*report.report().pageStore().page(n), DrawOp::Type::Band, "label"))
            out.push_back(op);
        return out;
    }
};

} // namespace

TEST(LabelComposer, NameWrapsIntoAsFewLinesAsFit)
{
    LabelComposer c = fixedWidth(140);
    EXPECT_EQ(c.wrapName("Alfa Beta Gama"), QStringList({"Alfa Beta Gama"}));
    c.lineWidth = 100;
    EXPECT_EQ(c.wrapName("Alfa Beta Gama"), QStringList({"Alfa Beta", "Gama"}));
    c.lineWidth = 30;
    EXPECT_EQ(c.wrapName("Supermarket a b"), QStringList({"Supermarket", "a b"}))
        << "a word wider than the line stays whole";
    c.lineWidth = 1000;
    EXPECT_EQ(c.wrapName("Alfa  Beta"), QStringList({"Alfa  Beta"}));
    c.lineWidth = 40;
    EXPECT_EQ(c.wrapName("Alfa  Beta"), QStringList({"Alfa", "", "Beta"}))
        << "two spaces leave an empty line between the words";
    c.lineWidth = 50;
    EXPECT_EQ(c.wrapName("Alfa  Beta"), QStringList({"Alfa ", "Beta"}));
}

TEST(LabelComposer, AddressLinesAreShortenedNeverWrapped)
{
    LabelComposer c = fixedWidth(50);
    EXPECT_EQ(c.shorten("Dlouhá ulice 12"), "Dlouh");
    EXPECT_EQ(c.shorten("Krok"), "Krok");
    const QStringList lines = c.compose({"AB", "Dlouhá ulice 12", "Brno", "60200 Brno"});
    EXPECT_EQ(lines, QStringList({"AB", "Dlouh", "Brno", "60200", "", "", "", ""}));
}

TEST(LabelComposer, SalutationAndCountryFollowTheOptions)
{
    LabelComposer c = fixedWidth(130);
    c.options[LabelSettings::Salutation] = true;
    QStringList lines = c.compose({"Firma", "Ulice 1", "Brno", "602 00"});
    EXPECT_EQ(lines.mid(0, 3), QStringList({"Firma", "Ulice 1", "Brno"}))
        << "an empty salutation adds no line";
    c.salutation = "Vážení";
    c.options[LabelSettings::Country] = true;
    c.countryText = "CZECH REPUBLIC";
    lines = c.compose({"Firma", "Ulice 1", "Brno", "602 00"});
    EXPECT_EQ(lines.mid(0, 6),
              QStringList({"Firma", "Vážení", "Ulice 1", "Brno", "602 00", "CZECH REPUBLI"}));
    c.options.fill(false);
    EXPECT_EQ(c.compose({"Firma", "Ulice 1", "Brno", "602 00"}), QStringList(8, QString()));
}

TEST(AddressLabelReport, LayoutTakesTheColumnWidthFromThePage)
{
    Labels l(addressed(1));
    const Report& r = l.report.report();
    EXPECT_EQ(r.columns, 3);
    EXPECT_NEAR(r.columnWidth(), Report::mmToUnits(60), 1e-6);
    EXPECT_EQ(l.report.lineWidth(), 226 - 6);
    EXPECT_NEAR(l.report.gapHeightMm(), 5 - 297.0 / 1123, 1e-9);
    EXPECT_NEAR(r.band("label")->height, Report::mmToUnits(42), 1e-9);
    const ReportBox* box3 = r.band("label")->box("l3");
    EXPECT_EQ(box3->rect, QRectF(3, 8 + 2 * 20, 220, 17));
    EXPECT_EQ(l.report.labelCounter(), 0);
    // A column count below 1 keeps the one before.
    l.report.layout(0, 6, 60, 42, 5, 5);
    EXPECT_EQ(r.columns, 3);
}

TEST(AddressLabelReport, SevenFirmsOnThreeBySixFillColumnOneThenStartColumnTwo)
{
    Labels l(addressed(7));
    ASSERT_EQ(l.report.report().generate(), 1);
    const auto placed = l.labels(1);
    ASSERT_EQ(placed.size(), 7u);
    const qreal left = Report::mmToUnits(10);
    const qreal top = Report::mmToUnits(10);
    const qreal pitch = Report::mmToUnits(42) + Report::mmToUnits(5 - 297.0 / 1123);
    for (int i = 0; i < 6; ++i) {
        EXPECT_NEAR(placed[size_t(i)]->rect.left(), left, 1e-6) << i;
        EXPECT_NEAR(placed[size_t(i)]->rect.top(), top + i * pitch, 1e-6) << i;
    }
    EXPECT_NEAR(placed[6]->rect.left(), left + Report::mmToUnits(65), 1e-6);
    EXPECT_NEAR(placed[6]->rect.top(), top, 1e-6);
    const QStringList texts = kvtest::textsOf(*l.report.report().pageStore().page(1), "label");
    EXPECT_EQ(texts.mid(0, 4), QStringList({"Firma 1", "Ulice 1", "Brno", "602 00"}));
    EXPECT_EQ(l.report.labelCounter(), 0);
    EXPECT_EQ(l.prepared, 1);
}

TEST(AddressLabelReport, AFullPageMovesOnToTheNextPage)
{
    Labels l(addressed(19));
    ASSERT_EQ(l.report.report().generate(), 2);
    EXPECT_EQ(l.labels(1).size(), 18u);
    ASSERT_EQ(l.labels(2).size(), 1u);
    EXPECT_NEAR(l.labels(2)[0]->rect.top(), Report::mmToUnits(10), 1e-6);
}

TEST(AddressLabelReport, PrintingTwiceGivesTheSamePages)
{
    Labels l(addressed(25));
    auto snapshot = [&]() {
        QStringList out;
        for (int n = 1; n <= l.report.report().pageStore().pageCount(); ++n)
            for (const DrawOp& op : l.report.report().pageStore().page(n)->ops)
                out << QStringLiteral("%1 %2 %3 %4")
                           .arg(n)
                           .arg(op.rect.left())
                           .arg(op.rect.top())
                           .arg(op.text);
        return out;
    };
    l.report.report().generate();
    const QStringList first = snapshot();
    l.report.report().generate();
    EXPECT_EQ(snapshot(), first);
    EXPECT_EQ(l.prepared, 2);
}

TEST(AddressLabelReport, DataEndsAtTheFirstLabelWithoutAFirstLine)
{
    QList<QVariantMap> rows = addressed(4);
    rows[2]["nazev"] = QString();
    Labels l(rows);
    l.report.options = {false, true, false, false, false, false};
    l.report.report().generate();
    EXPECT_EQ(l.labels(1).size(), 2u);

    Labels none(addressed(3));
    none.report.options.fill(false);
    EXPECT_EQ(none.report.report().generate(), 0);
}

TEST(AddressLabelReport, ConfigureReadsTheFieldsAndReducesTheBottomMargin)
{
    Labels l(addressed(2));
    LabelSettings s;
    s.fields = {"8", "12", "9", "11", "2", "8", "4", "3"};
    s.options[LabelSettings::Salutation] = true;
    s.salutation = "  Vážení  ";
    ASSERT_TRUE(l.report.configure(s, 94, 30));
    const Report& r = l.report.report();
    EXPECT_EQ(r.marginsMm, QMarginsF(8, 12, 9, 11 - 4));
    EXPECT_EQ(r.columns, 2);
    EXPECT_EQ(r.columnGapMm, 4);
    EXPECT_EQ(l.report.labelsDown(), 8);
    EXPECT_EQ(l.report.salutation, "Vážení");
    s.fields[6] = "";
    QString error;
    EXPECT_FALSE(l.report.configure(s, 94, 30, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AddressLabelReport, LinesBelowAShortLabelAreCutAtItsEdge)
{
    Labels l(addressed(1));
    l.report.layout(3, 6, 60, 20, 5, 5); // 75.6 units: boxes 4 and on do not fit
    const ReportBand* band = l.report.report().band("label");
    EXPECT_TRUE(band->box("l3")->visible);
    EXPECT_NEAR(band->box("l4")->rect.bottom(), Report::mmToUnits(20), 1e-9);
    EXPECT_FALSE(band->box("l5")->visible);
}
#endif
