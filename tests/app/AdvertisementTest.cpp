// The advertisement window: its sizing arithmetic, the navigator over a
// firm's advertisements, the window on a small data home, and the profile's
// advertisement link opening it.
#include "core/Settings.h"
#include "domain/AdvertisementLayout.h"
#include "domain/DataModule.h"
#include "domain/NavigatorState.h"
#include "engine/Database.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "tests/support/TestHome.h"
#include "ui/AdvertisementWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProfileCommands.h"
#include "ui/ProfileWindow.h"

#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sqlite3.h>

using kv::AdvertisementLayout;
using kv::NavigatorState;

TEST(AdvertisementLayout, NarrowPictureWidensTheFrameTo255)
{
    const AdvertisementLayout l(QSize(100, 80), QSize(1280, 1024));
    EXPECT_EQ(l.panel1(), QRect(0, 0, 255, 80 + 37 + 20));
    EXPECT_EQ(l.panel2(), QRect(6, 6, 243, 125));
    EXPECT_EQ(l.window(), QSize(273, 137 + 38));
    EXPECT_EQ(l.image(), QPoint((243 - 100) / 2, 37));
    EXPECT_EQ(l.navigator(), QPoint(10, 8));
    EXPECT_EQ(l.closeButton(), QPoint(243 - 95, 8));
    EXPECT_FALSE(l.heightCapped());
    // An odd difference is truncated.
    EXPECT_EQ(AdvertisementLayout(QSize(101, 80), QSize(1280, 1024)).image().x(), 71);
}

TEST(AdvertisementLayout, WidePictureKeepsItsFrame)
{
    const AdvertisementLayout l(QSize(480, 160), QSize(1280, 1024));
    EXPECT_EQ(l.panel1().size(), QSize(504, 217));
    EXPECT_EQ(l.window(), QSize(504 + 18, 217 + 38));
    EXPECT_EQ(l.image().x(), 6);
}

TEST(AdvertisementLayout, PictureTallerThanTheScreenScrolls)
{
    const AdvertisementLayout l(QSize(400, 1000), QSize(1280, 800));
    EXPECT_TRUE(l.heightCapped());
    EXPECT_EQ(l.panel1().height(), 1057);
    EXPECT_EQ(l.window(), QSize(424 + 24, 700));
    // Narrow and tall: widened first, then room for the scroll bar.
    EXPECT_EQ(AdvertisementLayout(QSize(50, 1000), QSize(1280, 800)).window(), QSize(279, 700));
}

TEST(AdvertisementLayout, TheScreenHeightLimitIsStrict)
{
    // Frame exactly screen height - 100: not capped, the usual +38.
    const AdvertisementLayout fits(QSize(300, 700 - 57), QSize(1280, 800));
    EXPECT_FALSE(fits.heightCapped());
    EXPECT_EQ(fits.window(), QSize(324 + 18, 738));
    const AdvertisementLayout over(QSize(300, 701 - 57), QSize(1280, 800));
    EXPECT_TRUE(over.heightCapped());
    EXPECT_EQ(over.window(), QSize(324 + 24, 700));
}

TEST(AdvertisementLayout, PictureWiderThanTheScreen)
{
    const AdvertisementLayout l(QSize(1500, 200), QSize(1280, 800));
    EXPECT_TRUE(l.widthCapped());
    EXPECT_EQ(l.window(), QSize(1270, 257 + 38));
    EXPECT_EQ(l.panel1().width(), 1524);
    const AdvertisementLayout both(QSize(1500, 2000), QSize(1280, 800));
    EXPECT_EQ(both.window(), QSize(1270, 700));
}

// A window manager's frame is not the outer size's: the client area holds
// the panel exactly, and only a capped side takes the outer size.
TEST(AdvertisementLayout, ClientAreaIsThePanelWhateverTheFrame)
{
    const QSize frame(10, 30);
    EXPECT_EQ(AdvertisementLayout(QSize(100, 80), QSize(1280, 1024)).client(frame, 16),
              QSize(255, 137));
    EXPECT_EQ(AdvertisementLayout(QSize(480, 160), QSize(1280, 1024)).client(QSize(), 16),
              QSize(504, 217));
    EXPECT_EQ(AdvertisementLayout(QSize(400, 1000), QSize(1280, 800)).client(frame, 16),
              QSize(424 + 16, 700 - 30));
    EXPECT_EQ(AdvertisementLayout(QSize(1500, 200), QSize(1280, 800)).client(frame, 16),
              QSize(1270 - 10, 257 + 16));
    EXPECT_EQ(AdvertisementLayout(QSize(1500, 2000), QSize(1280, 800)).client(frame, 16),
              QSize(1260, 670));
}

TEST(AdvertisementLayout, WindowIsMovedBackOntoTheScreen)
{
    const QRect screen(0, 0, 1280, 800);
    EXPECT_EQ(AdvertisementLayout::keptOnScreen(QRect(100, 50, 300, 200), screen), QPoint(100, 50));
    EXPECT_EQ(AdvertisementLayout::keptOnScreen(QRect(1100, 700, 300, 200), screen),
              QPoint(980, 600));
    EXPECT_EQ(AdvertisementLayout::keptOnScreen(QRect(-40, -5, 300, 200), screen), QPoint(0, 0));
    // Larger than the screen: its top left stays visible.
    EXPECT_EQ(AdvertisementLayout::keptOnScreen(QRect(500, 500, 2000, 900), screen), QPoint(0, 0));
}

TEST(NavigatorState, OneThreeAndNoRecords)
{
    EXPECT_EQ(NavigatorState::at(1, 1), (NavigatorState{false, false, false, false, false}));
    EXPECT_EQ(NavigatorState::at(1, 3), (NavigatorState{true, false, false, true, true}));
    EXPECT_EQ(NavigatorState::at(2, 3), (NavigatorState{true, true, true, true, true}));
    EXPECT_EQ(NavigatorState::at(3, 3), (NavigatorState{true, true, true, false, false}));
    EXPECT_EQ(NavigatorState::at(0, 0), (NavigatorState{true, false, false, false, false}));
}

namespace
{

// Firms and their advertisements on a small data home:
//   1 one picture 100 x 80; 2 three pictures (300 x 200, 120 x tall, 500 x 120);
//   3 a missing picture; 4 a file that is not a picture; 5 a good picture,
//   then a missing one; 6 no advertisement.
class Advertisement : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
        screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        tall = QSize(120, screen.height());
        QDir().mkpath(home.file("Dta"));
        kvtest::CompanyDb db;
        for (int peno = 1; peno <= 6; ++peno)
            db.firm(peno, QStringLiteral("Firma %1").arg(peno));
        db.exec("INSERT INTO reklamy VALUES(1, 'R1.JPG'), (2, 'R2_1.JPG'), (2, 'R2_2.JPG'),"
                " (2, 'R2_3.JPG'), (3, 'CHYBI.JPG'), (4, 'ROZBITA.JPG'), (5, 'R5.JPG'),"
                " (5, 'CHYBI.JPG')");
        db.finishInto(home.file("Dta/KV2001.db"));
        picture("R1.JPG", QSize(100, 80));
        picture("R2_1.JPG", QSize(300, 200));
        picture("R2_2.JPG", tall);
        picture("R2_3.JPG", QSize(500, 120));
        picture("R5.JPG", QSize(200, 100));
        home.write("RK/ROZBITA.JPG", "this is no picture");
        ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    }
    void TearDown() override { kv::settings() = kv::Settings(); }

    void picture(const QString& name, QSize size)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor(200, 60, 40));
        ASSERT_TRUE(img.save(home.file("RK/" + name), "JPG"));
    }
    void goTo(int peno) { dm.firms()->setFilter(QStringLiteral("peno in(%1)").arg(peno), true); }
    // exec() with a guard, so that a window that fails to close ends the test.
    int execGuarded(kv::AdvertisementWindow& w)
    {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &w, [&w]() {
            ADD_FAILURE() << "the window stayed open";
            w.done(42);
        });
        guard.start(5000);
        return w.exec();
    }

    kvtest::TestHome home;
    kv::DataModule dm;
    QSize screen;
    QSize tall;
};

} // namespace

TEST_F(Advertisement, OnePictureWithoutNavigator)
{
    goTo(1);
    kv::AdvertisementWindow w(&dm);
    EXPECT_FALSE(w.isShowing());
    w.show();
    EXPECT_TRUE(w.isShowing());
    EXPECT_EQ(w.windowTitle(), "Prezentace");
    EXPECT_EQ(w.closeButton()->text(), QString::fromUtf8("&Zavři okno"));
    EXPECT_EQ(w.navButton(0)->toolTip(), QString::fromUtf8("Přesun na první záznam"));
    EXPECT_EQ(w.navButton(3)->toolTip(), QString::fromUtf8("Přesun na poslední záznam"));
    EXPECT_TRUE(w.navigator()->isHidden());
    EXPECT_EQ(w.image()->size(), QSize(100, 80));
    // The client area is the panel: no band below or beside it.
    EXPECT_EQ(w.size(), QSize(255, 80 + 57));
    EXPECT_EQ(w.panel1()->geometry(), QRect(0, 0, 255, 137));
    EXPECT_EQ(w.panel2()->geometry(), QRect(6, 6, 243, 125));
    EXPECT_EQ(w.image()->pos(), QPoint(71, 37));
    EXPECT_EQ(w.closeButton()->pos(), QPoint(243 - 95, 8));
    // Centred on the screen.
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(w.frameGeometry().center().x() - room.center().x()), 1);
    w.close();
    EXPECT_FALSE(w.isShowing());
}

TEST_F(Advertisement, NavigatorStepsThroughThreeAndTheWindowFollows)
{
    goTo(2);
    kv::AdvertisementWindow w(&dm);
    w.show();
    ASSERT_FALSE(w.navigator()->isHidden());
    EXPECT_EQ(w.navigator()->pos(), QPoint(10, 8));
    EXPECT_EQ(w.image()->size(), QSize(300, 200));
    EXPECT_EQ(w.size(), QSize(324, 257));
    EXPECT_FALSE(w.navButton(0)->isEnabled());
    EXPECT_FALSE(w.navButton(1)->isEnabled());
    EXPECT_TRUE(w.navButton(2)->isEnabled());

    QTest::mouseClick(w.navButton(3), Qt::LeftButton); // last
    EXPECT_EQ(w.image()->size(), QSize(500, 120));
    EXPECT_EQ(w.size(), QSize(524, 177));
    EXPECT_FALSE(w.navButton(2)->isEnabled());
    EXPECT_TRUE(w.navButton(0)->isEnabled());

    QTest::mouseClick(w.navButton(1), Qt::LeftButton); // back to the tall one
    EXPECT_EQ(w.image()->size(), tall);
    EXPECT_EQ(w.frameGeometry().height(), screen.height() - 100); // the frame included
    // 144 wide, widened, and room for the scroll bar.
    EXPECT_EQ(w.width(), 255 + w.scrollArea()->verticalScrollBar()->sizeHint().width());
    EXPECT_GT(w.scrollArea()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(w.scrollArea()->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(w.navButton(0)->isEnabled() && w.navButton(3)->isEnabled());

    QTest::mouseClick(w.navButton(0), Qt::LeftButton);
    EXPECT_EQ(w.image()->size(), QSize(300, 200));
    EXPECT_EQ(dm.advertisements()->position(), 1);
    w.close();
}

TEST_F(Advertisement, MissingPictureClosesTheWindow)
{
    goTo(3);
    kv::AdvertisementWindow w(&dm);
    EXPECT_EQ(execGuarded(w), QDialog::Rejected);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.isShowing());
}

TEST_F(Advertisement, MissingSecondPictureClosesOnTheWay)
{
    goTo(5);
    kv::AdvertisementWindow w(&dm);
    QTimer::singleShot(0, &w, [&w]() {
        EXPECT_EQ(w.image()->size(), QSize(200, 100));
        w.navButton(2)->click();
    });
    EXPECT_EQ(execGuarded(w), QDialog::Rejected);
    // The last good picture was not replaced by an empty one.
    EXPECT_EQ(w.image()->size(), QSize(200, 100));
}

TEST_F(Advertisement, FileThatIsNoPictureIsReportedAndCloses)
{
    goTo(4);
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    kv::AdvertisementWindow w(&dm);
    EXPECT_EQ(execGuarded(w), QDialog::Rejected);
    EXPECT_EQ(title, "Chyba ...!");
    EXPECT_TRUE(text.contains("ROZBITA.JPG")) << text.toStdString();
}

TEST_F(Advertisement, NoAdvertisementAtAllCloses)
{
    goTo(6);
    kv::AdvertisementWindow w(&dm);
    EXPECT_EQ(execGuarded(w), QDialog::Rejected);
}

TEST_F(Advertisement, AClosedWindowIgnoresMovesOfTheCursor)
{
    goTo(1);
    kv::AdvertisementWindow w(&dm);
    w.show();
    w.close();
    goTo(2); // moves the advertisement cursor along
    EXPECT_EQ(w.image()->size(), QSize(100, 80));
    EXPECT_EQ(w.size(), QSize(255, 137));
}

TEST(AdvertisementLink, TheProfileLinkOpensTheWindowForTheCurrentFirm)
{
    kv::settings() = kv::Settings();
    kv::settings().dataHome = kvtest::demoHome(250);
    kv::DataModule dm;
    ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
    {
        kv::MainWindow window(&dm, 0);
        window.resize(1000, 700);
        window.show();
        kv::installProfileCommands(window, dm);
        kv::ProfileWindow* profile = kv::profileWindow();
        ASSERT_TRUE(profile);
        QFrame* link = profile->panel(kv::PanReklamy);
        ASSERT_TRUE(link->isVisibleTo(profile)) << "the shown firm has advertisements";

        QString seen;
        QSize picture;
        bool navigator = false;
        kvtest::DialogClicker::onNext([&](QWidget* w) {
            seen = QString::fromLatin1(w->metaObject()->className());
            if (auto ad = qobject_cast<kv::AdvertisementWindow*>(w)) {
                picture = ad->image()->size();
                navigator = !ad->navigator()->isHidden();
                ad->closeButton()->click();
            } else {
                w->close();
            }
        });
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(seen, "kv::AdvertisementWindow");
        // The demo's featured firm has two advertisements, the first a banner.
        EXPECT_EQ(picture, QSize(480, 160));
        EXPECT_TRUE(navigator);
        EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
    }
    kv::settings() = kv::Settings();
}
