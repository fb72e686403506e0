// The data module on a small company database: opening and its errors, the
// progress steps, the status line, the composed texts and the print cursor.
// The cases that read company data run on SQLite and, in test_domain_pg, on
// the server; those about the data home's file and the pure texts only here.
#include "domain/DataModule.h"
#include "core/Settings.h"
#include "domain/PrintCursorScope.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestBackend.h"
#include "tests/support/TestHome.h"

#include <QFile>
#include <gtest/gtest.h>
#include <stdexcept>

namespace
{

struct RecordingViews : kv::DataViews {
    int profileRefreshes = 0;
    int listRepaints = 0;
    int steps = 0;
    int range = -1;
    bool splash = true;
    QString status;
    void refreshProfile() override { ++profileRefreshes; }
    void repaintList() override { ++listRepaints; }
    void setStatusText(int panel, const QString& text) override
    {
        if (panel == 0)
            status = text;
    }
    bool hasSplash() const override { return splash; }
    void setProgressRange(int maximum) override { range = maximum; }
    void stepProgress() override { ++steps; }
};

class DataModule : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
    }
    void TearDown() override { kv::settings() = kv::Settings(); }

    kvtest::TestHome home;
    RecordingViews views;
};

class DataModuleOn : public DataModule, public ::testing::WithParamInterface<kvtest::BackendCase>
{
protected:
    // Puts the fixture database where the data module looks for it: the data
    // home's file, or its copy on the server.
    void installDatabase(bool with200219 = true)
    {
        kvtest::CompanyDb db;
        db.companySet();
        if (!with200219)
            db.exec("DELETE FROM firma WHERE peno=200219");
        db.finishInto(home.file("Dta/KV2001.db"));
        kvtest::serveCompanyData(home.file("Dta/KV2001.db"), GetParam());
    }
};

[[maybe_unused]] kv::engine::Record record(const QStringList& names, const QVariantList& values)
{
    auto fields = std::make_shared<kv::engine::FieldSet>(names);
    return kv::engine::Record(fields, std::vector<QVariant>(values.begin(), values.end()));
}

} // namespace

TEST_P(DataModuleOn, OpensOnTheSingleInitialFirm)
{
    installDatabase();
    kv::DataModule dm;
    dm.setViews(&views);
    const auto result = dm.openDatabase();
    ASSERT_EQ(result.status, kv::DataModule::OpenStatus::Opened) << result.message.toStdString();
    EXPECT_TRUE(dm.ready());
    EXPECT_EQ(dm.firms()->filter(), "peno in(200219)");
    EXPECT_TRUE(dm.firms()->isFiltered());
    EXPECT_EQ(dm.firms()->recordCount(), 1);
    EXPECT_EQ(dm.firms()->integer("peno"), 200219);
    EXPECT_EQ(views.status, QString::fromUtf8("Záznam  1 / 1"));
    // Every flag on: 8 + persons + advertisements + two for industries + lines.
    EXPECT_EQ(views.range, 13);
    EXPECT_EQ(views.steps, 13);
    EXPECT_TRUE(dm.excludedFirms().isEmpty());
}

TEST_P(DataModuleOn, WithoutTheInitialFirmTheSetIsEmpty)
{
    installDatabase(false);
    kv::DataModule dm;
    dm.setViews(&views);
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    EXPECT_EQ(dm.firms()->recordCount(), 0);
    EXPECT_EQ(views.status, QString::fromUtf8("Záznam  0 / 0"));
}

TEST_P(DataModuleOn, PersonsOffLeavesTheirTableClosedAndOneStepLess)
{
    installDatabase();
    kv::settings().nast[kv::NastOsoby] = false;
    kv::DataModule dm;
    dm.setViews(&views);
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    EXPECT_FALSE(dm.persons()->isOpen());
    EXPECT_TRUE(dm.advertisements()->isOpen());
    EXPECT_EQ(views.range, 12);
    EXPECT_EQ(views.steps, 12);
}

TEST_P(DataModuleOn, NoProgressWithoutSplash)
{
    installDatabase();
    views.splash = false;
    kv::DataModule dm;
    dm.setViews(&views);
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    EXPECT_EQ(views.range, -1);
    EXPECT_EQ(views.steps, 0);
}

#ifndef KV_TEST_ON_SERVER
// The data home's file itself, and no data home: SQLite only.
TEST_F(DataModule, MissingDatabaseGivesText18)
{
    kv::DataModule dm;
    const auto result = dm.openDatabase();
    EXPECT_EQ(result.status, kv::DataModule::OpenStatus::MissingFile);
    EXPECT_EQ(result.message, QString::fromUtf8("Nemohu najít soubory databáze"));
    EXPECT_FALSE(dm.ready());
}

TEST_F(DataModule, FileThatIsNoDatabaseGivesText19WithTheReason)
{
    home.write("Dta/KV2001.db",
               QByteArray("this is not a database at all, just text\n").repeated(50));
    kv::DataModule dm;
    const auto result = dm.openDatabase();
    EXPECT_EQ(result.status, kv::DataModule::OpenStatus::OpenFailed);
    const QString head = QString::fromUtf8("Nelze otevřít databázové tabulky !\r\n");
    ASSERT_TRUE(result.message.startsWith(head)) << result.message.toStdString();
    EXPECT_GT(result.message.size(), head.size());
    EXPECT_FALSE(dm.ready());
    EXPECT_EQ(dm.firms(), nullptr);
}

TEST_F(DataModule, EmptyDataHomeOpensNothing)
{
    kv::settings().dataHome.clear();
    kv::DataModule dm;
    const auto result = dm.openDatabase();
    EXPECT_EQ(result.status, kv::DataModule::OpenStatus::NoDataHome);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_FALSE(dm.ready());
}
#endif

TEST_P(DataModuleOn, DetailsFollowTheCurrentFirmAndViewsAreToldOfEveryMove)
{
    installDatabase();
    kv::DataModule dm;
    dm.setViews(&views);
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    const int repaints = views.listRepaints;
    const int refreshes = views.profileRefreshes;
    dm.firms()->setFilter("(peno in(1,2))", true);
    // Whether the windows exist is the views' business, not the module's.
    EXPECT_EQ(views.listRepaints, repaints + 1);
    EXPECT_EQ(views.profileRefreshes, refreshes + 1);
    EXPECT_EQ(dm.firms()->integer("peno"), 2); // "Čech a syn" before "Dobrá firma"
    EXPECT_EQ(dm.persons()->recordCount(), 1);
    dm.firms()->next();
    EXPECT_EQ(views.listRepaints, repaints + 2);
    EXPECT_EQ(views.profileRefreshes, refreshes + 2);
    EXPECT_EQ(views.status, QString::fromUtf8("Záznam  2 / 2"));
    EXPECT_EQ(dm.persons()->recordCount(), 2);
    EXPECT_EQ(dm.persons()->text("osoba"), QString::fromUtf8("Eva Malá")); // sortno 1 first
    EXPECT_EQ(dm.firmIndustries()->recordCount(), 2);
    EXPECT_EQ(dm.industryLines()->recordCount(),
              dm.firmIndustries()->integer("kod") == 100 ? 2 : 1);
}

TEST_P(DataModuleOn, PrintCursorScopeCopiesTheSetAndClosesWithoutMovingTheCurrentFirm)
{
    installDatabase();
    kv::DataModule dm;
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    dm.firms()->setFilter("(peno in(1,2,3,4))", true);
    dm.firms()->setSort("misto");
    dm.firms()->setPosition(3);
    const int current = dm.firms()->integer("peno");
    ASSERT_FALSE(dm.printFirms()->isOpen());
    {
        kv::PrintCursorScope scope(dm);
        EXPECT_TRUE(dm.printFirms()->isOpen());
        EXPECT_EQ(dm.printFirms()->filter(), dm.firms()->filter());
        EXPECT_EQ(dm.printFirms()->sort(), "misto");
        EXPECT_EQ(dm.printFirms()->recordCount(), 4);
        dm.printPersons()->open();
        while (!dm.printFirms()->eof())
            dm.printFirms()->next();
    }
    EXPECT_FALSE(dm.printFirms()->isOpen());
    EXPECT_FALSE(dm.printPersons()->isOpen());
    EXPECT_EQ(dm.firms()->integer("peno"), current);
    EXPECT_EQ(dm.firms()->position(), 3);

    // An override filter, and a run that ends in an exception.
    try {
        kv::PrintCursorScope scope(dm, "peno=" + QString::number(current));
        EXPECT_EQ(dm.printFirms()->recordCount(), 1);
        EXPECT_EQ(dm.printFirms()->integer("peno"), current);
        dm.printPersons()->open();
        dm.printFirms()->next();
        throw std::runtime_error("report failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(dm.printFirms()->isOpen());
    EXPECT_FALSE(dm.printPersons()->isOpen());
    EXPECT_EQ(dm.firms()->integer("peno"), current);
    EXPECT_EQ(dm.firms()->position(), 3);

    // A scope that outlives the database does not touch its closed cursors.
    {
        kv::PrintCursorScope scope(dm);
        dm.closeDatabase();
    }
    EXPECT_FALSE(dm.ready());
}

#ifndef KV_TEST_ON_SERVER
// Texts composed from records in memory: the same on either backend.
TEST_F(DataModule, ListLineFollowsTheDisplayFlags)
{
    const QStringList names = {"nazev", "ulice", "misto", "psc", "okres"};
    const auto firm = record(names, {"Alfa", QVariant(), "Praha", "11000", "Praha"});
    auto& nast = kv::settings().nast;
    EXPECT_EQ(kv::DataModule::firmListLine(firm), "Alfa; ; Praha; 11000; Praha");
    nast[kv::NastPsc] = nast[kv::NastOkres] = false;
    EXPECT_EQ(kv::DataModule::firmListLine(firm),
              "Alfa; ; Praha"); // the empty street keeps its place
    nast[kv::NastUlice] = nast[kv::NastMisto] = false;
    EXPECT_EQ(kv::DataModule::firmListLine(firm), "Alfa");
    nast[kv::NastUlice] = true;
    const auto longName = record(names, {QString(300, 'x'), "Ulice", "", "", ""});
    EXPECT_EQ(kv::DataModule::firmListLine(longName).size(), 255);
}

TEST_F(DataModule, ContactPersonLine)
{
    const QStringList names = {"osoba", "tel", "fax", "email", "www"};
    EXPECT_EQ(kv::DataModule::personContactLine(record(names, {"", "123", "", "", ""})), "");
    EXPECT_EQ(kv::DataModule::personContactLine(
                  record(names, {"Jan", QVariant(), "456", "j@x.cz", "w.cz"})),
              "Jan, fax: 456, E-Mail: j@x.cz");
    EXPECT_EQ(kv::DataModule::personContactLine(record(names, {"Jan", "1", "2", "", ""})),
              "Jan, tel.: 1, fax: 2");
}
#endif

INSTANTIATE_TEST_SUITE_P(Engines, DataModuleOn, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });
