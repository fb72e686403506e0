// The company profile report over firms in memory: one firm a page, the logo
// header, the contact lines, the sections that print only with data, the
// note that may run over onto the next page (in test_reports only: no
// company data is read). Over the data module's print cursors, its persons
// and the report's own industry and activity-line cursors, on SQLite and, in
// test_reports_pg, on the server.
#include "reports/ProfileReport.h"
#include "core/Cp1250.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "domain/PrintCursorScope.h"
#include "reports/ProfilePrintCursors.h"
#include "tests/reports/ReportFixture.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

using namespace kv;
using kvtest::bandsOf;
using kvtest::opsOf;
using kvtest::textsOf;

namespace
{

// companySet()'s firms 1 and 2 as kvelta print profiles prints them.
class ProfilesOfTheCompanySet : public ::testing::TestWithParam<kvtest::BackendCase>
{
};

TEST_P(ProfilesOfTheCompanySet, EachFirmWithItsPersonsIndustriesAndLines)
{
    kvtest::CompanyDb build(kvtest::CompanyDb::Where::DataHome);
    build.companySet();
    kvtest::serveCompanyData(build, GetParam());
    DataModule& dm = build.openDataModule(QStringLiteral("(peno in(1,2))"));
    PrintCursorScope scope(dm);
    dm.printPersons()->open();
    ProfilePrintCursors cursors(dm);
    ProfileReport profiles(cursors.sources());
    ASSERT_EQ(profiles.report().generate(), 2);
    const ReportPage& cech = *profiles.report().pageStore().page(1);
    const ReportPage& dobra = *profiles.report().pageStore().page(2);
    EXPECT_TRUE(textsOf(cech, "bMain").contains(QStringLiteral("Čech a syn")));
    EXPECT_TRUE(textsOf(dobra, "bMain").contains(QStringLiteral("Dobrá firma")));
    EXPECT_EQ(textsOf(cech, "sdOskontakt"), QStringList{QStringLiteral("Petr Čech")});
    // The print cursor's persons in the table's stored order, not by sortno.
    EXPECT_EQ(textsOf(dobra, "sdOskontakt"),
              QStringList({QStringLiteral("Jan Novák, ředitel, tel.: 111"),
                           QStringLiteral("Eva Malá, tel.: 222")}));
    EXPECT_EQ(textsOf(cech, "sdZatridE"), QStringList({"100", QStringLiteral("Stavebnictví")}));
    EXPECT_EQ(textsOf(dobra, "sdZatridE"),
              QStringList({"100", QStringLiteral("Stavebnictví"), "200", "Doprava"}));
    EXPECT_EQ(textsOf(cech, "sdRadky"), QStringList{QStringLiteral("Jeřáby")});
    EXPECT_EQ(textsOf(dobra, "sdRadky"),
              QStringList(
                  {QStringLiteral("Omítky"), QStringLiteral("Zdění"), QStringLiteral("Kamiony")}));
}

INSTANTIATE_TEST_SUITE_P(Engines, ProfilesOfTheCompanySet,
                         ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });

} // namespace

#ifndef KV_TEST_ON_SERVER
namespace
{

const qreal kTop = Report::mmToUnits(10);

QVariantMap firm(int peno, const QString& nazev, const QString& tel = {}, const QString& fax = {},
                 const QString& logo = {})
{
    return {{"peno", peno},
            {"ico", QStringLiteral("4%1").arg(peno, 7, 10, QChar('0'))},
            {"nazev", nazev},
            {"ulice", "Dlouhá 5"},
            {"psc", "602 00"},
            {"misto", "Brno"},
            {"okres", "Brno-město"},
            {"tel", tel},
            {"fax", fax},
            {"email", QString()},
            {"www", QString()},
            {"logo", logo}};
}

class ProfileReportPages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings() = Settings();
        settings().dataHome = home.path();
        persons.setMaster(&firms, "peno");
        industries.setMaster(&firms, "peno");
        lines.setMaster(&firms, "peno");
        ProfileSources s;
        s.firms = &firms;
        s.persons = &persons;
        s.industries = &industries;
        s.lines = &lines;
        s.open = [this] { ++opened; };
        s.close = [this] { ++closed; };
        profile = std::make_unique<kv::ProfileReport>(s);
    }
    void TearDown() override { settings() = Settings(); }

    void note(int peno, const QString& text)
    {
        home.write(QStringLiteral("Pozn/%1.tx").arg(peno), Cp1250::encode(text));
    }
    void logo(const QString& name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkBlue);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        home.write("Log/" + name, bytes);
    }
    int generate() { return profile->report().generate(); }
    const ReportPage& page(int n) { return *profile->report().pageStore().page(n); }
    const DrawOp* band(int n, const QString& name)
    {
        auto bands = opsOf(page(n), DrawOp::Type::Band, name);
        return bands.empty() ? nullptr : bands.front();
    }

    kvtest::TestHome home;
    MemoryDataSource firms, persons, industries, lines;
    int opened = 0, closed = 0;
    std::unique_ptr<kv::ProfileReport> profile;
};

TEST_F(ProfileReportPages, EachFirmStartsANewPageWithoutAnEmptyFirstPage)
{
    firms.setRows({firm(1, "Alfa"), firm(2, "Beta"), firm(3, "Gama")});
    ASSERT_EQ(generate(), 3);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(bandsOf(page(n)).first(), "bMain");
        EXPECT_NEAR(band(n, "bMain")->rect.top(), kTop, 1e-6);
        EXPECT_EQ(textsOf(page(n), "Paticka").last(), QStringLiteral("Strana: %1").arg(n));
    }
    EXPECT_TRUE(textsOf(page(2), "bMain").contains("Beta"));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closed, 1);
}

TEST_F(ProfileReportPages, MainBandHoldsNumberNameAndAddressAtTheirPlaces)
{
    firms.setRows({firm(7, "Alfa")});
    generate();
    const QStringList texts = textsOf(page(1), "bMain");
    EXPECT_EQ(texts,
              QStringList({"IČO", "40000007", "Alfa", "Dlouhá 5", "602 00", "Brno", "Brno-město"}));
    const QPointF at[] = {{8, 6}, {89, 6}, {8, 28}, {8, 44}, {8, 60}, {55, 60}, {8, 76}};
    auto ops = opsOf(page(1), DrawOp::Type::Text, "bMain");
    for (size_t i = 0; i < ops.size(); ++i) {
        EXPECT_NEAR(ops[i]->rect.left(), kTop + at[i].x(), 1e-6) << i;
        EXPECT_NEAR(ops[i]->rect.top(), kTop + at[i].y(), 1e-6) << i;
    }
    EXPECT_NEAR(band(1, "bMain")->rect.height(), 100, 1e-6);
    EXPECT_EQ(opsOf(page(1), DrawOp::Type::Line, "bMain").size(), 1u);
    EXPECT_EQ(ops[0]->font.pointSizeF(), 9);
}

TEST_F(ProfileReportPages, FaxWithoutTelephoneFollowsTheAddressWithoutALine)
{
    firms.setRows({firm(1, "Alfa", "  ", "541 000 112"), firm(2, "Beta", "541 000 111")});
    generate();
    EXPECT_EQ(bandsOf(page(1)), QStringList({"bMain", "chFax", "bPozn", "Paticka"}));
    EXPECT_NEAR(band(1, "chFax")->rect.top(), kTop + 100, 1e-6);
    EXPECT_EQ(textsOf(page(1), "chFax"), QStringList({"Fax", "541 000 112"}));
    EXPECT_TRUE(opsOf(page(1), DrawOp::Type::Line, "chFax").empty());
    EXPECT_EQ(bandsOf(page(2)), QStringList({"bMain", "chTel", "bPozn", "Paticka"}));
    EXPECT_EQ(opsOf(page(2), DrawOp::Type::Line, "chTel").size(), 1u);
    auto tel = opsOf(page(2), DrawOp::Type::Text, "chTel");
    EXPECT_NEAR(tel[1]->rect.left(), kTop + 88, 1e-6);
    EXPECT_NEAR(tel[1]->rect.top(), kTop + 100 + 3, 1e-6);
}

TEST_F(ProfileReportPages, SectionsWithDataPrintUnderTheirHeadings)
{
    QVariantMap f = firm(1, "Alfa", "541 000 111", "541 000 112");
    f["email"] = "info@alfa.cz";
    f["www"] = "www.alfa.cz";
    firms.setRows({f});
    persons.setRows({{{"peno", 1}, {"kontos", "Ing. Jan Malý, jednatel"}},
                     {{"peno", 2}, {"kontos", "Cizí osoba"}},
                     {{"peno", 1}, {"kontos", "Eva Malá"}}});
    industries.setRows({{{"peno", 1}, {"kod", 4520}, {"txt", "Stavebnictví"}}});
    lines.setRows(
        {{{"peno", 1}, {"radek", "  Pozemní stavby\t"}}, {{"peno", 1}, {"radek", "Rekonstrukce"}}});
    note(1, "Volat ráno\r\n");
    ASSERT_EQ(generate(), 1);
    EXPECT_EQ(bandsOf(page(1)),
              QStringList({"bMain", "chTel", "chFax", "chMail", "chWWW", "bOskontakt",
                           "sdOskontakt", "sdOskontakt", "bZatridE", "sdZatridE", "bRadky",
                           "sdRadky", "sdRadky", "bPozn", "sdPozn", "Paticka"}));
    EXPECT_EQ(textsOf(page(1), "bOskontakt"), QStringList{"Kontaktní osoby"});
    EXPECT_EQ(textsOf(page(1), "sdOskontakt"),
              QStringList({"Ing. Jan Malý, jednatel", "Eva Malá"}));
    EXPECT_EQ(textsOf(page(1), "bZatridE"), QStringList{"Oborové zatřídění"});
    EXPECT_EQ(textsOf(page(1), "sdZatridE"), QStringList({"4520", "Stavebnictví"}));
    EXPECT_EQ(textsOf(page(1), "bRadky"), QStringList{"Klíčová slova"});
    EXPECT_EQ(textsOf(page(1), "sdRadky"), QStringList({"Pozemní stavby", "Rekonstrukce"}));
    EXPECT_EQ(textsOf(page(1), "bPozn"), QStringList{"Poznámka"});
    EXPECT_EQ(textsOf(page(1), "sdPozn"), QStringList{"Volat ráno"});
    auto kod = opsOf(page(1), DrawOp::Type::Text, "sdZatridE");
    EXPECT_NEAR(kod[0]->rect.left(), kTop + 88, 1e-6);
    EXPECT_NEAR(kod[1]->rect.left(), kTop + 188, 1e-6);
    // Heights: 100 + 4 x 20 for the contact lines, then heading 20 and 17 a row.
    EXPECT_NEAR(band(1, "bOskontakt")->rect.top(), kTop + 180, 1e-6);
    EXPECT_NEAR(band(1, "bZatridE")->rect.top(), kTop + 180 + 20 + 34, 1e-6);
    for (const char* heading : {"bOskontakt", "bZatridE", "bRadky", "bPozn"})
        EXPECT_EQ(opsOf(page(1), DrawOp::Type::Line, heading).size(), 1u) << heading;
}

TEST_F(ProfileReportPages, MissingSectionsPrintNoHeadingButTheNoteHeadingAlways)
{
    firms.setRows({firm(1, "Alfa"), firm(2, "Beta")});
    persons.setRows({{{"peno", 2}, {"kontos", "Eva Malá"}}});
    note(2, "Poznámka");
    generate();
    EXPECT_EQ(bandsOf(page(1)), QStringList({"bMain", "bPozn", "Paticka"}));
    EXPECT_NEAR(band(1, "bPozn")->rect.top(), kTop + 100, 1e-6);
    EXPECT_EQ(bandsOf(page(2)),
              QStringList({"bMain", "bOskontakt", "sdOskontakt", "bPozn", "sdPozn", "Paticka"}));
}

TEST_F(ProfileReportPages, BlankActivityLinesAreSkipped)
{
    firms.setRows({firm(1, "Alfa"), firm(2, "Beta")});
    lines.setRows({{{"peno", 1}, {"radek", "Stavby"}},
                   {{"peno", 1}, {"radek", "\t  "}},
                   {{"peno", 1}, {"radek", "Opravy"}},
                   // The heading goes with the first line: a blank one leaves it out.
                   {{"peno", 2}, {"radek", " \t\r\n"}},
                   {{"peno", 2}, {"radek", "Montáže"}}});
    generate();
    EXPECT_EQ(textsOf(page(1), "sdRadky"), QStringList({"Stavby", "Opravy"}));
    EXPECT_EQ(bandsOf(page(1)).count("sdRadky"), 2);
    EXPECT_NEAR(opsOf(page(1), DrawOp::Type::Band, "sdRadky")[1]->rect.top() -
                    opsOf(page(1), DrawOp::Type::Band, "sdRadky")[0]->rect.top(),
                17, 1e-6);
    EXPECT_EQ(bandsOf(page(2)), QStringList({"bMain", "sdRadky", "bPozn", "Paticka"}));
}

TEST_F(ProfileReportPages, LongNoteContinuesOnTheNextPage)
{
    firms.setRows({firm(1, "Alfa"), firm(2, "Beta")});
    QStringList text;
    for (int i = 1; i <= 150; ++i)
        text << QStringLiteral("Řádek poznámky %1").arg(i);
    note(1, "  " + text.join("\r\n") + "\r\n\r\n");
    const int pages = generate();
    ASSERT_GE(pages, 3); // the note over more than one page, then Beta on a page of its own
    QStringList printed;
    for (int n = 1; n < pages; ++n) {
        printed += textsOf(page(n), "sdPozn");
        EXPECT_EQ(textsOf(page(n), "Paticka").last(), QStringLiteral("Strana: %1").arg(n));
        const qreal footerTop = band(n, "Paticka")->rect.top();
        for (const DrawOp* op : opsOf(page(n), DrawOp::Type::Text, "sdPozn"))
            EXPECT_LE(op->rect.bottom(), footerTop + 1e-6);
    }
    EXPECT_TRUE(printed == text) << printed.size();
    EXPECT_NEAR(opsOf(page(2), DrawOp::Type::Text, "sdPozn")[0]->rect.top(), kTop, 1e-6);
    EXPECT_EQ(bandsOf(page(pages - 1)), QStringList({"sdPozn", "Paticka"}));
    EXPECT_EQ(bandsOf(page(pages)).first(), "bMain");
    EXPECT_TRUE(textsOf(page(pages), "bMain").contains("Beta"));
}

TEST_F(ProfileReportPages, LogoHeadsEveryPageOfItsFirmCentred)
{
    logo("alfa.png", QSize(200, 60));
    logo("siroka.png", QSize(900, 40));
    firms.setRows({firm(1, "Alfa", {}, {}, "alfa.png"), firm(2, "Beta"),
                   firm(3, "Gama", {}, {}, "siroka.png"), firm(4, "Delta", {}, {}, "chybi.png")});
    ASSERT_EQ(generate(), 4);
    const qreal width = profile->report().contentRect().width();
    const DrawOp* header = band(1, "BandLogo");
    ASSERT_NE(header, nullptr);
    EXPECT_NEAR(header->rect.top(), kTop, 1e-6);
    EXPECT_NEAR(header->rect.height(), 60 + 32, 1e-6);
    auto picture = opsOf(page(1), DrawOp::Type::Picture, "BandLogo");
    ASSERT_EQ(picture.size(), 1u);
    EXPECT_NEAR(picture[0]->rect.left(), kTop + (width - 200) / 2, 1e-6);
    EXPECT_NEAR(picture[0]->rect.top(), kTop + 16, 1e-6);
    EXPECT_NEAR(band(1, "bMain")->rect.top(), kTop + 92, 1e-6);
    EXPECT_EQ(band(2, "BandLogo"), nullptr); // no logo field
    auto wide = opsOf(page(3), DrawOp::Type::Picture, "BandLogo");
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_NEAR(wide[0]->rect.left(), kTop, 1e-6);
    EXPECT_EQ(band(4, "BandLogo"), nullptr); // no such file
    EXPECT_NEAR(band(4, "bMain")->rect.top(), kTop, 1e-6);
}

TEST_F(ProfileReportPages, PageFontAndFooterAsDesigned)
{
    Report& r = profile->report();
    EXPECT_EQ(r.font.family(), "Arial");
    EXPECT_EQ(r.font.pointSizeF(), 9);
    EXPECT_NEAR(r.contentRect().top(), kTop, 1e-6);
    firms.setRows({firm(1, "Alfa")});
    generate();
    const QStringList footer = textsOf(page(1), "Paticka");
    ASSERT_EQ(footer.size(), 4);
    EXPECT_EQ(footer[2], "Kvelta 2001");
    EXPECT_EQ(footer[3], "Strana: 1");
    EXPECT_EQ(opsOf(page(1), DrawOp::Type::Text, "Paticka")[0]->font.pointSizeF(), 8);
    firms.setRows({});
    EXPECT_EQ(generate(), 0);
}

} // namespace
#endif
