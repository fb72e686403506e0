// The excluded-records window and the export window: enabled states, the
// restore buttons, the designed choices and the separator edit, and an
// export cancelled from its progress window.
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "domain/Exclusion.h"
#include "engine/TableCursor.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/DialogClicker.h"
#include "tests/support/TestHome.h"
#include "ui/ExcludedFirmsDialog.h"
#include "ui/ExportDialog.h"
#include "ui/ExportProgressDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class Windows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
        kvtest::CompanyDb db;
        db.companySet();
        db.finishInto(home.file("Dta/KV2001.db"));
        ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
        dm.firms()->setFilter("peno in (1,2,3,4,5)", true);
    }
    void TearDown() override { kv::settings() = kv::Settings(); }

    kvtest::TestHome home;
    kv::DataModule dm;
    kv::Exclusion exclusion{dm};
};

TEST_F(Windows, EmptyListDisablesListAndRestoreButtons)
{
    kv::ExcludedFirmsDialog w(exclusion);
    w.refill();
    EXPECT_EQ(w.list()->count(), 0);
    EXPECT_FALSE(w.list()->isEnabled());
    EXPECT_FALSE(w.restoreSelectedButton()->isEnabled());
    EXPECT_FALSE(w.restoreAllButton()->isEnabled());
    EXPECT_TRUE(w.closeButton()->isEnabled());
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8("Vyjmuté záznamy"));
}

TEST_F(Windows, RestoreSelectedTakesBackTheTickedFirmsOnly)
{
    dm.firms()->first();
    exclusion.excludeCurrent();
    exclusion.excludeCurrent();
    exclusion.excludeCurrent();
    const auto excluded = dm.excludedFirms();
    kv::ExcludedFirmsDialog w(exclusion);
    w.show();
    ASSERT_EQ(w.list()->count(), 3);
    EXPECT_TRUE(w.restoreSelectedButton()->isEnabled());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.list()->item(i)->text(), excluded[i].name);
        EXPECT_EQ(w.list()->item(i)->checkState(), Qt::Unchecked);
    }
    w.list()->item(0)->setCheckState(Qt::Checked);
    w.list()->item(2)->setCheckState(Qt::Checked);
    w.restoreSelectedButton()->click();
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(dm.excludedFirms().size(), 1);
    EXPECT_EQ(dm.excludedFirms()[0].peno, excluded[1].peno);
    EXPECT_EQ(dm.firms()->recordCount(), 4);
}

TEST_F(Windows, RestoreAllBringsBackTheWholeSet)
{
    dm.firms()->first();
    exclusion.excludeCurrent();
    exclusion.excludeCurrent();
    kv::ExcludedFirmsDialog w(exclusion);
    w.show();
    w.restoreAllButton()->click();
    EXPECT_TRUE(dm.excludedFirms().isEmpty());
    EXPECT_EQ(dm.firms()->recordCount(), 5);
    // Shown again, the list is rebuilt empty.
    w.show();
    EXPECT_EQ(w.list()->count(), 0);
    EXPECT_FALSE(w.restoreAllButton()->isEnabled());
}

TEST_F(Windows, ExportWindowStartsFromTheDesignedChoices)
{
    kv::ExportDialog w(dm);
    w.show();
    using I = kv::ExportItem;
    for (I item : {I::Nazev, I::Ulice, I::Misto, I::Psc})
        EXPECT_TRUE(w.itemBox(item)->isChecked());
    for (I item : {I::Okres, I::Osoba, I::Tel, I::Fax, I::Email, I::Www})
        EXPECT_FALSE(w.itemBox(item)->isChecked());
    // The contact person stands between district and telephone.
    EXPECT_LT(w.itemBox(I::Okres)->y(), w.itemBox(I::Osoba)->y());
    EXPECT_LT(w.itemBox(I::Osoba)->y(), w.itemBox(I::Tel)->y());
    EXPECT_EQ(w.separatorItem(), 1);
    EXPECT_FALSE(w.otherSeparator()->isVisible());
    EXPECT_EQ(w.choice().separator, "\t");
    EXPECT_TRUE(w.okButton()->isEnabled());
}

TEST_F(Windows, OtherSeparatorEditOnlyWithItsChoiceAndTabAgainAtShowing)
{
    kv::ExportDialog w(dm);
    w.show();
    w.separatorButton(2)->click();
    EXPECT_TRUE(w.otherSeparator()->isVisible());
    w.otherSeparator()->setText("::");
    EXPECT_EQ(w.choice().separator, "::");
    w.separatorButton(0)->click();
    EXPECT_FALSE(w.otherSeparator()->isVisible());
    EXPECT_EQ(w.choice().separator, ";");
    w.separatorButton(2)->click();
    w.hide();
    w.show();
    EXPECT_EQ(w.separatorItem(), 1);
    EXPECT_FALSE(w.otherSeparator()->isVisible());
}

// The save dialog names the file types in the language of the program.
TEST_F(Windows, ExportFileTypesFollowTheLanguage)
{
    const auto offered = [this](int format) {
        kv::ExportDialog w(dm);
        w.show();
        w.formatButton(format)->click();
        QStringList filters;
        kvtest::DialogClicker::onNext([&filters](QWidget* d) {
            if (auto files = qobject_cast<QFileDialog*>(d))
                filters = files->nameFilters();
            d->close();
        });
        w.okButton()->click();
        return filters;
    };
    EXPECT_EQ(offered(0), QStringList({QString::fromUtf8("Textové soubory (*.txt)"),
                                       QString::fromUtf8("Všechny soubory (*)")}));
    kv::settings().langBase = 500;
    EXPECT_EQ(offered(0), QStringList({"Text files (*.txt)", "All files (*)"}));
    EXPECT_EQ(offered(1), QStringList({"CSV files (*.csv)", "All files (*)"}));
    EXPECT_EQ(offered(2), QStringList({"Excel workbooks (*.xlsx)", "All files (*)"}));
}

TEST(ExportWindowLimit, OkDisabledOnlyOverFiveThousandFirms)
{
    kv::settings() = kv::Settings();
    kvtest::TestHome home;
    kv::settings().dataHome = home.path();
    {
        kvtest::CompanyDb db;
        db.exec("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c WHERE x<5001) "
                "INSERT INTO firma(peno, nazev) SELECT x, 'F' || x FROM c");
        db.finishInto(home.file("Dta/KV2001.db"));
    }
    kv::DataModule dm;
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    kv::ExportDialog w(dm);
    dm.firms()->setFilter("peno<=5000", true);
    EXPECT_FALSE(w.applyLimit());
    EXPECT_TRUE(w.okButton()->isEnabled());
    dm.firms()->setFilter(QString(), false);
    EXPECT_TRUE(w.applyLimit());
    EXPECT_FALSE(w.okButton()->isEnabled());
    kv::settings() = kv::Settings();
}

TEST_F(Windows, CancelInTheProgressWindowWritesNothing)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("x.txt");
    {
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("before");
    }
    kv::ExportDialog w(dm);
    w.show();
    QObject::connect(&w, &kv::ExportDialog::progressShown, [](QDialog* p) {
        static_cast<kv::ExportProgressDialog*>(p)->cancelButton()->click();
    });
    const auto r = w.exportTo(out);
    EXPECT_EQ(r.status, kv::TextExport::Status::Cancelled);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "before");
    // The controls come back after the export.
    EXPECT_TRUE(w.okButton()->isEnabled());
    EXPECT_TRUE(w.itemBox(kv::ExportItem::Nazev)->isEnabled());
}

TEST_F(Windows, ExportFromTheWindowWritesTheChosenItems)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("x.txt");
    kv::ExportDialog w(dm);
    w.show();
    for (int i = 0; i < kv::ExportItemCount; ++i)
        w.itemBox(kv::ExportItem(i))->setChecked(false);
    w.itemBox(kv::ExportItem::Nazev)->setChecked(true);
    w.separatorButton(0)->click();
    dm.firms()->setFilter("peno=6", true);
    EXPECT_EQ(w.exportTo(out).status, kv::TextExport::Status::Written);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "Ivan;\r\n");
}

TEST(ExcludedRecordsWindow, SameNamesRepeatAndEachLineRestoresItsOwnFirm)
{
    kv::settings() = kv::Settings();
    kvtest::TestHome home;
    kv::settings().dataHome = home.path();
    {
        kvtest::CompanyDb db;
        db.firm(1, "Alfa");
        db.firm(2, "Alfa");
        db.firm(3, "Beta");
        db.finishInto(home.file("Dta/KV2001.db"));
    }
    kv::DataModule dm;
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    dm.firms()->setFilter("peno in (1,2,3)", true);
    dm.firms()->first();
    kv::Exclusion exclusion(dm);
    ASSERT_EQ(dm.firms()->text("nazev"), "Alfa");
    exclusion.excludeCurrent();
    ASSERT_EQ(dm.firms()->text("nazev"), "Alfa");
    exclusion.excludeCurrent();
    const int second = dm.excludedFirms()[1].peno;

    kv::ExcludedFirmsDialog w(exclusion);
    w.show();
    ASSERT_EQ(w.list()->count(), 2);
    EXPECT_EQ(w.list()->item(0)->text(), "Alfa");
    EXPECT_EQ(w.list()->item(1)->text(), "Alfa");
    w.list()->item(1)->setCheckState(Qt::Checked);
    w.restoreSelectedButton()->click();
    EXPECT_EQ(dm.firms()->recordCount(), 2);
    bool back = false;
    for (int p = 1; p <= dm.firms()->recordCount(); ++p)
        back = back || dm.firms()->fieldAt(p, "peno").toInt() == second;
    EXPECT_TRUE(back);
    kv::settings() = kv::Settings();
}

} // namespace
