// The profile window on a small company database: sections shown by the
// flags and the data, the persons grid, the industry list, links and notes.
#include "ui/ProfileWindow.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "domain/DataModule.h"
#include "domain/NoteFile.h"
#include "domain/ServerNoteStore.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/DialogClicker.h"
#include "tests/support/TestHome.h"
#include "ui/IndustryListDelegate.h"
#include "ui/NoteDialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace
{

constexpr const char* Detail = "https://example.cz/firma.php?peno=";

class Profile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
        kvtest::CompanyDb db;
        db.companySet();
        // Firm 1 gets every section.
        db.exec(QString::fromUtf8(
            "UPDATE firma SET ico='12345678', ulice='Vodičkova 12', psc='110 00', "
            "okres='Praha 1', tel='+420 222 111 000', fax='+420 222 111 001', "
            "email='info@dobra.cz', www='www.dobra.cz', link='A', logo='dobra.png' WHERE peno=1;"
            "UPDATE osoby SET email='novak@dobra.cz' WHERE osoba LIKE 'Jan%';"
            "UPDATE firma SET link='N', www='www.cech.cz', email='cech@cech.cz' WHERE peno=2;"
            "UPDATE osoby SET email='petr@cech.cz' WHERE peno=2;"));
        db.insert("reklamy", {1, "dobra.jpg"});
        db.insert("pzatrid", {1, 3, 300,
                              QString::fromUtf8("Velmi dlouhý název oboru, který se do seznamu "
                                                "v profilu firmy rozhodně nevejde celý")});
        db.finishInto(home.file("Dta/KV2001.db"));
        QImage logo(160, 44, QImage::Format_RGB32);
        logo.fill(QColor(0, 0, 128));
        QPainter p(&logo);
        p.setPen(Qt::white);
        p.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("DOBRÁ FIRMA"));
        p.end();
        logo.save(home.file("Log/dobra.png"));
        home.write("RK/dobra.jpg", "x");
        ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    }
    void TearDown() override { kv::settings() = kv::Settings(); }

    void goTo(int peno) { dm.firms()->setFilter(QStringLiteral("peno in(%1)").arg(peno), true); }

    std::unique_ptr<kv::ProfileWindow> window()
    {
        auto w = std::make_unique<kv::ProfileWindow>(&dm, nullptr, QString::fromLatin1(Detail));
        w->setUrlOpener([this](const QUrl& url) { opened << url.toString(); });
        w->resize(420, 900);
        w->refresh();
        return w;
    }

    QStringList items(kv::ProfileWindow& w)
    {
        QStringList out;
        for (int i = 0; i < w.industryList()->count(); ++i)
            out << w.industryList()->item(i)->text();
        return out;
    }

    kvtest::TestHome home;
    kv::DataModule dm;
    QStringList opened;
};

} // namespace

TEST_F(Profile, EverySectionOfAFullFirm)
{
    goTo(1);
    kv::NoteFile::save(1, "a\nb\nc");
    auto w = window();
    EXPECT_EQ(w->windowTitle(), "Profil firmy");
    const kv::ProfileLayout l = w->layoutPanels();
    for (int p = 0; p < kv::ProfilePanelCount; ++p)
        EXPECT_TRUE(l.panels[size_t(p)].visible) << p;
    EXPECT_EQ(l[kv::PanLogo].height, 60);
    EXPECT_EQ(l[kv::PanPozn].height, 96);
    EXPECT_EQ(w->noteMemo()->toPlainText(), "a\nb\nc");
    EXPECT_EQ(w->panel(kv::PanOsoby)->height(), 96);
    EXPECT_EQ(w->panel(kv::PanAdresa)->width(), 420);
    EXPECT_EQ(w->webKVText()->text(),
              QString::fromUtf8("Aktuální údaje o -- Dobrá firma -- na internetu."));
    // The logo is centred.
    EXPECT_EQ(w->logoImage()->x(), 420 / 2 - 160 / 2);
    EXPECT_EQ(w->logoImage()->y(), 8);

    if (qEnvironmentVariableIsSet("KV_PROFILE_SCREENSHOT")) {
        w->resize(440, 800);
        w->show();
        QCoreApplication::processEvents();
        w->grab().save(qEnvironmentVariable("KV_PROFILE_SCREENSHOT"));
    }
}

TEST_F(Profile, TenNoteLinesGiveA180PixelPanel)
{
    goTo(1);
    kv::NoteFile::save(1, QStringLiteral("x\n").repeated(9) + "x");
    auto w = window();
    EXPECT_EQ(w->layoutPanels()[kv::PanPozn].height, 180);
}

TEST_F(Profile, OnlyTheWebLinkWhenAllFlagsAreOff)
{
    goTo(1);
    kv::NoteFile::save(1, "note");
    kv::settings().nast.fill(false);
    dm.reopenAfterSettings();
    goTo(1);
    auto w = window();
    const kv::ProfileLayout l = w->layoutPanels();
    for (int p = 0; p < kv::ProfilePanelCount; ++p)
        EXPECT_EQ(w->panel(kv::ProfilePanel(p))->isVisibleTo(w.get()), p == kv::PanWebKV) << p;
    EXPECT_EQ(l[kv::PanWebKV].top, 0);
}

TEST_F(Profile, IndustriesWithTheirActivityLines)
{
    goTo(1);
    auto w = window();
    EXPECT_EQ(items(*w),
              QStringList({QString::fromUtf8("Stavebnictví"), QString::fromUtf8("\tZdění"),
                           QString::fromUtf8("\tOmítky"), "Doprava", QString::fromUtf8("\tKamiony"),
                           items(*w).last()}));
    EXPECT_EQ(dm.firmIndustries()->position(), 1); // the walk returns to the first industry
    EXPECT_EQ(kv::IndustryListDelegate::textOffset("\tZdění"), 41);
    EXPECT_EQ(kv::IndustryListDelegate::markerOffset(), 18);
    EXPECT_EQ(kv::IndustryListDelegate::textOffset("Doprava"), 2);
}

TEST_F(Profile, ClassificationWithoutKeywordsHoldsOnlyNames)
{
    kv::settings().nast[kv::NastRadky] = false;
    dm.reopenAfterSettings();
    goTo(1);
    auto w = window();
    const QStringList names = items(*w);
    ASSERT_EQ(names.size(), 3);
    for (const QString& n : names)
        EXPECT_FALSE(kv::IndustryListDelegate::isActivityLine(n)) << n.toStdString();
}

TEST_F(Profile, PersonsGridHidesTheEmptyFaxColumn)
{
    goTo(1);
    auto w = window();
    QTableWidget* g = w->personsGrid();
    EXPECT_EQ(g->rowCount(), 2);
    EXPECT_FALSE(g->isColumnHidden(0));
    EXPECT_FALSE(g->isColumnHidden(1));
    EXPECT_TRUE(g->isColumnHidden(2));
    EXPECT_FALSE(g->isColumnHidden(3));
    EXPECT_EQ(g->item(0, 0)->text(), QString::fromUtf8("Eva Malá")); // in sortno order
    EXPECT_TRUE(w->gridMailLinks());
    const int row = g->item(0, 3)->text().isEmpty() ? 1 : 0;
    w->grdOskontaktCellClick(row, 3);
    w->grdOskontaktCellClick(row, 0); // a name is no address
    EXPECT_EQ(opened, QStringList({"mailto:novak@dobra.cz"}));
}

TEST_F(Profile, FirmWithoutPersonsHidesTheSection)
{
    goTo(3);
    auto w = window();
    EXPECT_FALSE(w->layoutPanels()[kv::PanOsoby].visible);
    EXPECT_FALSE(w->layoutPanels()[kv::PanZatrid].visible);
    EXPECT_FALSE(w->layoutPanels()[kv::PanLogo].visible); // empty logo names no file
}

TEST_F(Profile, LinkOtherThanAKeepsOnlyTheFirmsEmailALink)
{
    goTo(2);
    auto w = window();
    EXPECT_FALSE(w->gridMailLinks());
    EXPECT_FALSE(w->webText()->font().bold());
    EXPECT_TRUE(w->emailText()->font().bold());
    w->dBText11Click();
    w->grdOskontaktCellClick(0, 3);
    EXPECT_TRUE(opened.isEmpty());
    w->dBText10Click();
    EXPECT_EQ(opened, QStringList({"mailto:cech@cech.cz"}));
}

TEST_F(Profile, WebAndFirmDetailLinks)
{
    goTo(1);
    auto w = window();
    w->dBText11Click();
    w->panWebKVClick();
    EXPECT_EQ(opened, QStringList({"http://www.dobra.cz", QString::fromLatin1(Detail) + "1"}));
}

TEST_F(Profile, FollowsTheCurrentFirm)
{
    goTo(1);
    auto w = window();
    dm.firms()->setFilter(QStringLiteral("peno in(1,3)"), true);
    dm.firms()->setPosition(1); // Cyril s.r.o. before Dobrá firma
    w->refresh();
    EXPECT_EQ(dm.firms()->integer("peno"), 3);
    EXPECT_TRUE(items(*w).isEmpty());
    EXPECT_FALSE(w->panel(kv::PanOsoby)->isVisibleTo(w.get()));
}

TEST_F(Profile, NoteEditorOkCancelAndEmpty)
{
    goTo(1);
    {
        kv::NoteDialog editor(&dm);
        EXPECT_TRUE(editor.editor()->toPlainText().isEmpty());
        editor.editor()->setPlainText("one\ntwo\nthree");
        editor.okButton()->click();
        EXPECT_EQ(editor.result(), QDialog::Accepted);
    }
    EXPECT_EQ(home.read("Pozn/1.tx"), QByteArray("one\r\ntwo\r\nthree\r\n"));
    {
        kv::NoteDialog editor(&dm);
        EXPECT_EQ(editor.editor()->toPlainText(), "one\ntwo\nthree");
        editor.editor()->setPlainText("changed");
        editor.cancelButton()->click();
    }
    EXPECT_EQ(home.read("Pozn/1.tx"), QByteArray("one\r\ntwo\r\nthree\r\n"));
    {
        kv::NoteDialog editor(&dm);
        editor.editor()->setPlainText("  \n ");
        editor.okButton()->click();
    }
    EXPECT_FALSE(kv::NoteFile::exists(1));
}

TEST_F(Profile, OverWideIndustryShowsItsFullTextInAHint)
{
    goTo(1);
    auto w = window();
    w->show();
    QListWidget* list = w->industryList();
    const int wide = list->count() - 1;
    auto move = [&](int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QMouseEvent ev(QEvent::MouseMove, at, list->viewport()->mapToGlobal(at), Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &ev);
    };
    list->scrollToBottom();
    move(wide);
    EXPECT_TRUE(w->hintShown());
    EXPECT_EQ(w->hintIndex(), wide);
    move(wide - 1); // a short activity line
    EXPECT_FALSE(w->hintShown());
    EXPECT_EQ(w->hintIndex(), -1);
}

TEST_F(Profile, AServerThatCannotBeReachedIsNamedAndTheTypedNoteStays)
{
    goTo(1);
    kv::NoteFile::save(1, "soukromá"); // a file note is not what a server shows
    dm.setNotes(std::make_unique<kv::ServerNoteStore>(
        "host=" + home.path() + "/no-server dbname=kv connect_timeout=2", "anna"));
    auto w = window();
    EXPECT_TRUE(w->panel(kv::PanPozn)->isVisibleTo(w.get()));
    const QStringList lines = w->noteMemo()->toPlainText().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], kv::loadStr(256));
    EXPECT_FALSE(w->noteMemo()->toPlainText().contains("soukromá"));

    kv::NoteDialog editor(&dm);
    EXPECT_TRUE(editor.savedLabel()->text().startsWith(kv::loadStr(256)));
    EXPECT_TRUE(editor.editor()->toPlainText().isEmpty());
    editor.editor()->setPlainText("Volat zítra");
    QString said;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &said);
    editor.okButton()->click();
    EXPECT_TRUE(said.startsWith(kv::loadStr(257))) << said.toStdString();
    EXPECT_NE(editor.result(), QDialog::Accepted);
    EXPECT_EQ(editor.editor()->toPlainText(), "Volat zítra");
    EXPECT_EQ(kv::NoteFile::text(1), "soukromá");
}

namespace
{

// On a server: the own author's note of the firm, written by another login
// role, which the server does not let this session change.
class ForeignNoteStore : public kv::NoteStore
{
public:
    bool shared() const override { return true; }
    QString author() const override { return "anna"; }
    kv::Note own(qint64) override { return note; }
    std::vector<kv::Note> all(qint64) override { return {note}; }
    kv::NoteSave save(qint64, const QString&, qint64) override
    {
        ++saves;
        return {false, note, true};
    }
    std::vector<qint64> firmsWithNotes() override { return {1}; }
    kv::Note note{"anna", "cizí", QDateTime::currentDateTimeUtc(), 7, "kv_jina_anna", false};
    int saves = 0;
};

} // namespace

TEST_F(Profile, ANoteOfAnotherLoginRoleIsRefusedWithItsReasonAndTheTypedTextStays)
{
    goTo(1);
    auto owned = std::make_unique<ForeignNoteStore>();
    ForeignNoteStore& store = *owned;
    dm.setNotes(std::move(owned));
    kv::NoteDialog editor(&dm);
    EXPECT_TRUE(editor.savedLabel()->text().contains(kv::loadStr(311).arg("kv_jina_anna")))
        << editor.savedLabel()->text().toStdString();
    editor.editor()->setPlainText("Volat zítra");
    QString said;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &said);
    editor.okButton()->click();
    EXPECT_EQ(said, kv::loadStr(310).arg("anna", "kv_jina_anna"));
    EXPECT_EQ(store.saves, 1);
    EXPECT_NE(editor.result(), QDialog::Accepted);
    EXPECT_EQ(editor.editor()->toPlainText(), "Volat zítra");
}
