// The data module and a data home that still holds the Jet database: the
// import runs only when the SQLite database is missing, its failures and an
// incomplete schema are refused with text 19 naming the cause.
#include "cli/JetImportHook.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "tests/jetimport/JetSamples.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace
{

const char* const kText19 = "Nelze otevřít databázové tabulky !\r\n";

struct SplashViews : kv::DataViews {
    QList<int> ranges;
    int steps = 0;
    bool hasSplash() const override { return true; }
    void setProgressRange(int maximum) override { ranges << maximum; }
    void stepProgress() override { ++steps; }
};

class JetHome : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
    }
    void TearDown() override { kv::settings() = kv::Settings(); }

    QString companyDb(const QString& sql = QString())
    {
        kvtest::CompanyDb db;
        db.companySet();
        if (!sql.isEmpty())
            db.exec(sql);
        const QString copy = home.file("company.db");
        db.finishInto(copy);
        return copy;
    }
    // A hook that records its calls and installs the fixture database.
    kv::DataModule::JetImportHook recordingHook()
    {
        return [this](const QString& mdb, const QString& db, QString*) {
            calls << QFileInfo(mdb).fileName() + u'>' + QFileInfo(db).fileName();
            return QFile::copy(companyDb(), db);
        };
    }
    QStringList dtaFiles() const
    {
        return QDir(home.file("Dta")).entryList(QDir::Files | QDir::Hidden);
    }

    kvtest::TestHome home;
    QStringList calls;
};

} // namespace

TEST_F(JetHome, ImportsOnlyWhenTheSqliteDatabaseIsMissing)
{
    home.write("Dta/KV2001.mdb", "stand-in; the hook does not read it");
    {
        kv::DataModule dm;
        dm.setJetImport(recordingHook());
        ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
        EXPECT_EQ(calls, QStringList({"KV2001.mdb>KV2001.db"}));
        EXPECT_EQ(dm.firms()->integer("peno"), 200219);
    }
    // The second start finds the imported database and leaves the Jet file alone.
    kv::DataModule again;
    again.setJetImport(recordingHook());
    ASSERT_EQ(again.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    EXPECT_EQ(calls.size(), 1);
}

TEST_F(JetHome, NoJetFileMeansNoImport)
{
    kv::DataModule dm;
    dm.setJetImport(recordingHook());
    EXPECT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::MissingFile);
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(JetHome, FailedImportGivesText19WithTheReason)
{
    home.write("Dta/KV2001.mdb", "x");
    kv::DataModule dm;
    dm.setJetImport([](const QString&, const QString&, QString* error) {
        *error = QStringLiteral("disk full");
        return false;
    });
    const auto result = dm.openDatabase();
    EXPECT_EQ(result.status, kv::DataModule::OpenStatus::OpenFailed);
    EXPECT_EQ(result.message, QString::fromUtf8(kText19) + "disk full");
    EXPECT_FALSE(dm.ready());
}

TEST_F(JetHome, RealImportOfANonCompanyFileIsRefusedAndLeavesNoDatabase)
{
    ASSERT_TRUE(QFile::copy(kvtest::jetSample("testV1997.mdb"), home.file("Dta/KV2001.mdb")));
    SplashViews views;
    kv::DataModule dm;
    dm.setViews(&views);
    dm.setJetImport(kv::jetImportHook(dm)); // as the start-up and the commands install it
    const auto result = dm.openDatabase();
    EXPECT_EQ(result.status, kv::DataModule::OpenStatus::OpenFailed);
    ASSERT_TRUE(result.message.startsWith(QString::fromUtf8(kText19)))
        << result.message.toStdString();
    EXPECT_TRUE(result.message.contains("Missing tables: firma, osoby, reklamy, pzatrid"));
    EXPECT_EQ(dtaFiles(), QStringList({"KV2001.mdb"}));
    // The splash counted the four tables, then was set for the opening steps.
    EXPECT_EQ(views.ranges,
              QList<int>({kv::DataModule::openingSteps(), 4, kv::DataModule::openingSteps()}));
    EXPECT_EQ(views.steps, 4);
}

TEST_F(JetHome, DatabaseWithoutATableOrFieldIsRefusedNamingThem)
{
    ASSERT_TRUE(QFile::copy(companyDb("DROP TABLE radky; ALTER TABLE firma DROP COLUMN psc"),
                            home.file("Dta/KV2001.db")));
    kv::DataModule dm;
    const auto result = dm.openDatabase();
    EXPECT_EQ(result.status, kv::DataModule::OpenStatus::OpenFailed);
    EXPECT_EQ(result.message,
              QString::fromUtf8(kText19) + "Missing tables: radky. Missing fields: firma.psc.");
    EXPECT_FALSE(dm.ready());
}
