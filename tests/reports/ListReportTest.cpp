// The company list report over firms in memory: block heights, the contact
// lines that hide and move up, notes read from their files, the footer (in
// test_reports only: no company data is read). Over the data module's print
// cursor on SQLite and, in test_reports_pg, on the server.
#include "core/Cp1250.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "domain/PrintCursorScope.h"
#include "reports/FirmListReport.h"
#include "reports/TableCursorSource.h"
#include "tests/reports/ReportFixture.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <gtest/gtest.h>

using namespace kv;
using kvtest::opsOf;
using kvtest::textsOf;

namespace
{

// The list of listSet() through the print cursor, as kvelta print list and
// the list window print it: the set in the company cursor's sort.
class ListReportOfTheCompanySet : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    QStringList printed()
    {
        TableCursorSource firms(*build.dm().printFirms());
        FirmListReport list(firms);
        PrintCursorScope scope(build.dm());
        EXPECT_EQ(list.report().generate(), 1);
        return textsOf(*list.report().pageStore().page(1), "Detail");
    }
    kvtest::CompanyDb build{kvtest::CompanyDb::Where::DataHome};
};

TEST_P(ListReportOfTheCompanySet, PrintsTheSetInTheCursorsSortWithoutMovingTheCurrentFirm)
{
    build.listSet();
    kvtest::serveCompanyData(build, GetParam());
    DataModule& dm = build.openDataModule(QStringLiteral("(peno in(1,2,3,4,5,7,8))"));
    dm.firms()->setPosition(3);
    const qint64 current = dm.firms()->integer("peno");
    const QString alfa = QStringLiteral("Alfa;  Krátká 1;  Brno;  60200");
    const QString beta = QStringLiteral("Beta;  Dlouhá 5;  Zlín;  76001");
    const QString cenek = QStringLiteral("Čeněk;  Polní 9;  Praha;  11000");
    const QString delta = QStringLiteral("Delta;  Nová 2;  Cheb;  35002");
    const QString gama = QStringLiteral("Gama;  ;  Aš;  35201");
    const QString same = QStringLiteral("Stejná;  ;  ;"); // trimmed at the end
    EXPECT_EQ(printed(), QStringList({alfa, beta, cenek, delta, gama, same, same}));
    EXPECT_EQ(dm.firms()->position(), 3);
    EXPECT_EQ(dm.firms()->integer("peno"), current);
    // By town, the firms without one first as SQLite orders them.
    dm.firms()->setSort(QStringLiteral("misto"));
    EXPECT_EQ(printed(), QStringList({same, same, gama, alfa, delta, cenek, beta}));
}

INSTANTIATE_TEST_SUITE_P(Engines, ListReportOfTheCompanySet,
                         ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });

} // namespace

#ifndef KV_TEST_ON_SERVER
namespace
{

const qreal kTop = Report::mmToUnits(10);

QVariantMap firm(int peno, const QString& nazev, const QString& tel = {}, const QString& fax = {},
                 const QString& email = {}, const QString& www = {})
{
    return {{"peno", peno},    {"nazev", nazev},  {"ulice", "Dlouhá 5"},
            {"misto", "Brno"}, {"psc", "602 00"}, {"tel", tel},
            {"fax", fax},      {"email", email},  {"www", www}};
}

class ListReport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings() = Settings();
        settings().dataHome = home.path();
    }
    void TearDown() override { settings() = Settings(); }

    void note(int peno, const QString& text)
    {
        home.write(QStringLiteral("Pozn/%1.tx").arg(peno), Cp1250::encode(text));
    }
    const ReportPage& page(int n) { return *list.report().pageStore().page(n); }
    std::vector<const DrawOp*> details(int n = 1)
    {
        return opsOf(page(n), DrawOp::Type::Band, "Detail");
    }
    const DrawOp* textOp(const QString& text, int n = 1)
    {
        for (const DrawOp* op : opsOf(page(n), DrawOp::Type::Text, "Detail"))
            if (op->text == text)
                return op;
        return nullptr;
    }
    void all(bool on) { list.items.fill(on); }

    kvtest::TestHome home;
    MemoryDataSource data;
    FirmListReport list{data};
};

TEST_F(ListReport, NameOnlyPrintsOneLineBlocks25UnitsApart)
{
    data.setRows({firm(1, "Alfa", "541 000 111"), firm(2, "Beta"), firm(3, "Gama")});
    note(1, "Poznámka k Alfě\r\n");
    ASSERT_EQ(list.report().generate(), 1);
    EXPECT_EQ(textsOf(page(1), "Detail"),
              QStringList({"Alfa;  Dlouhá 5;  Brno;  602 00", "Beta;  Dlouhá 5;  Brno;  602 00",
                           "Gama;  Dlouhá 5;  Brno;  602 00"}));
    auto bands = details();
    ASSERT_EQ(bands.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(bands[size_t(i)]->rect.top(), kTop + 25 * i, 1e-6);
        EXPECT_NEAR(bands[size_t(i)]->rect.height(), 25, 1e-6);
        EXPECT_NEAR(bands[size_t(i)]->rect.left(), kTop, 1e-6);
    }
}

TEST_F(ListReport, ContactLinesHaveLabelsPaddedTo13Characters)
{
    EXPECT_EQ(FirmListReport::contactLabel(27), "Telefon      ");
    EXPECT_EQ(FirmListReport::contactLabel(29), "E-Mail       ");
    data.setRows({firm(1, "Alfa", "541 000 111", "541 000 112", "info@alfa.cz", "www.alfa.cz")});
    all(true);
    list.report().generate();
    EXPECT_EQ(textsOf(page(1), "Detail"),
              QStringList({"Alfa;  Dlouhá 5;  Brno;  602 00", "Telefon      :  541 000 111",
                           "Fax          :  541 000 112", "E-Mail       :  info@alfa.cz",
                           "Internet     :  www.alfa.cz"}));
    const qreal tops[] = {18, 33, 48, 63};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(opsOf(page(1), DrawOp::Type::Text, "Detail")[size_t(i + 1)]->rect.top(),
                    kTop + tops[i], 1e-6);
    EXPECT_NEAR(details()[0]->rect.height(), 85, 1e-6); // no note: 100 - 15
}

TEST_F(ListReport, BlankTelephoneHidesItsLineAndFaxMovesUp)
{
    data.setRows({firm(1, "Alfa", " \t ", "541 000 112"), firm(2, "Beta")});
    list.items[FirmListReport::Tel] = true;
    list.items[FirmListReport::Fax] = true;
    list.report().generate();
    EXPECT_EQ(textsOf(page(1), "Detail"),
              QStringList({"Alfa;  Dlouhá 5;  Brno;  602 00", "Fax          :  541 000 112",
                           "Beta;  Dlouhá 5;  Brno;  602 00"}));
    const DrawOp* fax = textOp("Fax          :  541 000 112");
    ASSERT_NE(fax, nullptr);
    EXPECT_NEAR(fax->rect.top(), kTop + 18, 1e-6);
    EXPECT_NEAR(fax->rect.left(), kTop + 25, 1e-6);
    EXPECT_NEAR(details()[1]->rect.top(), kTop + 40, 1e-6);
}

TEST_F(ListReport, UnchosenItemsStayHiddenEvenWithValues)
{
    data.setRows({firm(1, "Alfa", "541 000 111", "541 000 112", "info@alfa.cz", "www.alfa.cz")});
    note(1, "Poznámka");
    list.items[FirmListReport::Email] = true;
    list.report().generate();
    EXPECT_EQ(textsOf(page(1), "Detail"),
              QStringList({"Alfa;  Dlouhá 5;  Brno;  602 00", "E-Mail       :  info@alfa.cz"}));
    EXPECT_NEAR(textOp("E-Mail       :  info@alfa.cz")->rect.top(), kTop + 18, 1e-6);
    EXPECT_NEAR(details()[0]->rect.height(), 40, 1e-6);
}

TEST_F(ListReport, TelephoneAndWebPrintOneBelowTheOther)
{
    data.setRows({firm(1, "Alfa", "541 000 111", "", "  ", "www.alfa.cz"), firm(2, "Beta")});
    all(true);
    list.report().generate();
    EXPECT_NEAR(textOp("Telefon      :  541 000 111")->rect.top(), kTop + 18, 1e-6);
    EXPECT_NEAR(textOp("Internet     :  www.alfa.cz")->rect.top(), kTop + 33, 1e-6);
    EXPECT_NEAR(details()[1]->rect.top(), kTop + 55, 1e-6);
}

TEST_F(ListReport, NoteOfSeveralLinesPrintsEveryLineAndGrowsTheBlock)
{
    data.setRows({firm(1, "Alfa"), firm(2, "Beta")});
    note(1, "\r\n  Volat ráno\r\nJednatel: p. Malý\r\nSleva 5 %\r\n\r\n \r\n");
    list.items[FirmListReport::Pozn] = true;
    list.report().generate();
    auto lines = opsOf(page(1), DrawOp::Type::Text, "Detail");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1]->text, "Volat ráno");
    EXPECT_EQ(lines[2]->text, "Jednatel: p. Malý");
    EXPECT_EQ(lines[3]->text, "Sleva 5 %");
    const qreal lh = lines[2]->rect.top() - lines[1]->rect.top();
    EXPECT_GT(lh, 8);
    EXPECT_NEAR(lines[1]->rect.top(), kTop + 18, 1e-6);
    EXPECT_NEAR(lines[1]->rect.left(), kTop + 25, 1e-6);
    // 25 for the name, the note's three lines in place of its one 15-unit line.
    EXPECT_NEAR(details()[1]->rect.top(), kTop + 25 + 3 * lh, 1e-6);
}

TEST_F(ListReport, BlankOrMissingNotePrintsNothing)
{
    data.setRows({firm(1, "Alfa"), firm(2, "Beta"), firm(3, "Gama")});
    note(1, "  \r\n\r\n\t\r\n");
    note(3, "Jen s poznámkou");
    list.items[FirmListReport::Pozn] = true;
    list.report().generate();
    EXPECT_EQ(textsOf(page(1), "Detail"),
              QStringList({"Alfa;  Dlouhá 5;  Brno;  602 00", "Beta;  Dlouhá 5;  Brno;  602 00",
                           "Gama;  Dlouhá 5;  Brno;  602 00", "Jen s poznámkou"}));
    auto bands = details();
    EXPECT_NEAR(bands[1]->rect.top(), kTop + 25, 1e-6);
    EXPECT_NEAR(bands[2]->rect.top(), kTop + 50, 1e-6);
    EXPECT_NEAR(bands[2]->rect.height(), 40, 1e-6);
}

TEST_F(ListReport, LongNameWrapsAndPushesTheLinesBelowDown)
{
    const QString name = QStringLiteral("Velmi dlouhý název ").repeated(12).trimmed();
    data.setRows({firm(1, name, "541 000 111")});
    list.items[FirmListReport::Tel] = true;
    list.report().generate();
    auto lines = opsOf(page(1), DrawOp::Type::Text, "Detail");
    ASSERT_GE(lines.size(), 3u);
    const qreal lh = lines[1]->rect.top() - lines[0]->rect.top();
    const DrawOp* tel = textOp("Telefon      :  541 000 111");
    ASSERT_NE(tel, nullptr);
    EXPECT_NEAR(tel->rect.top(), kTop + 18 + (lines.size() - 2) * lh, 1e-6);
    EXPECT_TRUE(lines.back() == tel);
    QString joined;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        joined += lines[i]->text + ' ';
    EXPECT_TRUE(joined.contains("602 00")); // nothing of the address was cut off
}

TEST_F(ListReport, FooterOfEveryPageShowsImprintProgramAndPageNumber)
{
    QList<QVariantMap> rows;
    for (int i = 1; i <= 60; ++i)
        rows << firm(i, QStringLiteral("Firma %1").arg(i));
    data.setRows(rows);
    // 1046.9 units of content less the 37-unit footer hold 40 blocks of 25.
    ASSERT_EQ(list.report().generate(), 2);
    for (int n = 1; n <= 2; ++n) {
        const QStringList footer = textsOf(page(n), "Paticka");
        ASSERT_EQ(footer.size(), 4);
        EXPECT_TRUE(footer[0].startsWith("Lumora s.r.o."));
        EXPECT_TRUE(footer[1].startsWith("www."));
        EXPECT_EQ(footer[2], "Kvelta 2001");
        EXPECT_EQ(footer[3], QStringLiteral("Strana: %1").arg(n));
        auto band = opsOf(page(n), DrawOp::Type::Band, "Paticka");
        EXPECT_NEAR(band[0]->rect.bottom(), page(n).size.height() - kTop, 1e-6);
        EXPECT_NEAR(band[0]->rect.height(), 37, 1e-6);
        auto line = opsOf(page(n), DrawOp::Type::Line, "Paticka");
        ASSERT_EQ(line.size(), 1u);
        EXPECT_EQ(line[0]->penStyle, Qt::DotLine);
        for (const DrawOp* op : opsOf(page(n), DrawOp::Type::Text, "Paticka")) {
            EXPECT_TRUE(op->font.italic());
            EXPECT_EQ(op->font.pointSizeF(), 8);
        }
        const auto texts = opsOf(page(n), DrawOp::Type::Text, "Paticka");
        EXPECT_NEAR(texts[2]->rect.right(), page(n).size.width() - kTop, 1e-6);
        EXPECT_TRUE(texts[2]->alignment & Qt::AlignRight);
        EXPECT_NEAR(texts[3]->rect.top() - texts[2]->rect.top(), 15, 1e-6);
    }
    EXPECT_EQ(int(details(1).size()), 40);
    EXPECT_EQ(textsOf(page(2), "Detail").first(), "Firma 41;  Dlouhá 5;  Brno;  602 00");
}

TEST_F(ListReport, PageAndFontAsDesigned)
{
    Report& r = list.report();
    EXPECT_NEAR(r.pageSize().width(), 793.7, 0.1);
    EXPECT_NEAR(r.pageSize().height(), 1122.5, 0.1);
    EXPECT_NEAR(r.contentRect().left(), kTop, 1e-6);
    EXPECT_EQ(r.font.family(), "Arial");
    EXPECT_EQ(r.font.pointSizeF(), 8);
    EXPECT_EQ(r.title, "Tisk seznamu firem");
    data.setRows({});
    EXPECT_EQ(r.generate(), 0); // an empty set prints no page
}

TEST_F(ListReport, ChosenFontAppliesToTheListButNotTheFooter)
{
    data.setRows({firm(1, "Alfa")});
    list.report().font.setPointSizeF(12);
    list.report().font.setBold(true);
    list.report().generate();
    EXPECT_TRUE(opsOf(page(1), DrawOp::Type::Text, "Detail")[0]->font.bold());
    EXPECT_FALSE(opsOf(page(1), DrawOp::Type::Text, "Paticka")[0]->font.bold());
}

} // namespace
#endif
