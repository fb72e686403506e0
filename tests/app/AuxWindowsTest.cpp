#include "app/TFAbout.h"
#include "app/TFSplash.h"
#include "app/TFTip.h"
#include "app/TFWait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(AboutBox, VersionLosesItsLastComponent)
{
    EXPECT_EQ(kv::TFAbout::shownVersion("1.0.0.12"), "1.0.0");
    EXPECT_EQ(kv::TFAbout::shownVersion("2.1"), "2");
    EXPECT_EQ(kv::TFAbout::shownVersion("7"), "");
    EXPECT_EQ(kv::TFAbout::shownVersion(""), "");
}

TEST(AboutBox, ShowsTextsAndBuildVersion)
{
    kv::TFAbout about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("O programu ..."));
    EXPECT_EQ(about.findChild<QLabel*>("Label1")->text(), "Kvelta 2001");
    EXPECT_EQ(about.findChild<QLabel*>("Label2")->text(),
              QString::fromUtf8("Verze : ") + kv::TFAbout::shownVersion(KV_VERSION));
    EXPECT_EQ(about.findChild<QPushButton*>("btnOk")->text(), "&Ok");
    EXPECT_FALSE(about.findChild<QLabel*>("Label3")->text().isEmpty());
}

TEST(AboutBox, EachOpeningIsAFreshWindowDestroyedOnClose)
{
    for (int i = 0; i < 2; ++i) {
        auto about = new kv::TFAbout;
        about->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<kv::TFAbout> guard(about);
        QTimer::singleShot(0, about, [about] { about->findChild<QPushButton*>("btnOk")->click(); });
        about->exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(guard.isNull());
    }
}

TEST(Splash, ProgressFollowsTheOpeningSteps)
{
    kv::TFSplash splash;
    splash.setRange(11);
    splash.step();
    splash.step();
    EXPECT_EQ(splash.progressBar()->maximum(), 11);
    EXPECT_EQ(splash.progressBar()->value(), 2);
    EXPECT_EQ(splash.size(), QSize(329, 348));
}

TEST(WaitAndTip, CarryTheirTexts)
{
    kv::TFWait wait;
    wait.showNow();
    EXPECT_TRUE(wait.isVisible());
    EXPECT_EQ(wait.findChild<QLabel*>("label")->text(), QString::fromUtf8("Prosím vyčkejte ... "));
    EXPECT_TRUE(wait.windowTitle().isEmpty());
    kv::TFTip tip;
    EXPECT_EQ(tip.windowTitle(), "Tip");
    EXPECT_EQ(tip.findChild<QPushButton*>("btnZavrit")->text(), QString::fromUtf8("Zavři okno"));
}
