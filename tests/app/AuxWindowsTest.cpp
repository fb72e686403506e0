#include "core/Settings.h"
#include "tests/support/ProgramWindows.h"
#include "ui/AboutDialog.h"
#include "ui/SelectionTipDialog.h"
#include "ui/SelectionWindow.h"
#include "ui/SplashWindow.h"
#include "ui/WaitWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

TEST(AboutBox, VersionLosesItsLastComponent)
{
    EXPECT_EQ(kv::AboutDialog::shownVersion("1.0.0.12"), "1.0.0");
    EXPECT_EQ(kv::AboutDialog::shownVersion("2.1"), "2");
    EXPECT_EQ(kv::AboutDialog::shownVersion("7"), "");
    EXPECT_EQ(kv::AboutDialog::shownVersion(""), "");
}

TEST(AboutBox, ShowsTextsAndBuildVersion)
{
    kv::AboutDialog about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("O programu ..."));
    EXPECT_EQ(about.findChild<QLabel*>("Label1")->text(), "Kvelta 2001");
    EXPECT_EQ(about.findChild<QLabel*>("Label2")->text(),
              QString::fromUtf8("Verze : ") + kv::AboutDialog::shownVersion(KV_VERSION));
    EXPECT_EQ(about.findChild<QPushButton*>("btnOk")->text(), "&Ok");
    EXPECT_FALSE(about.findChild<QLabel*>("Label3")->text().isEmpty());
}

TEST(AboutBox, EachOpeningIsAFreshWindowDestroyedOnClose)
{
    for (int i = 0; i < 2; ++i) {
        auto about = new kv::AboutDialog;
        about->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<kv::AboutDialog> guard(about);
        QTimer::singleShot(0, about, [about] { about->findChild<QPushButton*>("btnOk")->click(); });
        about->exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(guard.isNull());
    }
}

TEST(Splash, ProgressFollowsTheOpeningSteps)
{
    kv::SplashWindow splash;
    splash.setRange(11);
    splash.step();
    splash.step();
    EXPECT_EQ(splash.progressBar()->maximum(), 11);
    EXPECT_EQ(splash.progressBar()->value(), 2);
    EXPECT_EQ(splash.size(), QSize(329, 348));
}

TEST(WaitAndTip, CarryTheirTexts)
{
    kv::WaitWindow wait;
    wait.showNow();
    EXPECT_TRUE(wait.isVisible());
    EXPECT_EQ(wait.findChild<QLabel*>("label")->text(), QString::fromUtf8("Prosím vyčkejte ... "));
    EXPECT_TRUE(wait.windowTitle().isEmpty());
    kv::SelectionTipDialog tip;
    EXPECT_EQ(tip.windowTitle(), "Tip");
    EXPECT_EQ(tip.findChild<QPushButton*>("btnZavrit")->text(), QString::fromUtf8("Zavři okno"));
}

TEST(WaitAndTip, TipDescribesTheSelectionWindowAsItIs)
{
    kvtest::ProgramWindows windows(20);
    kv::SelectionWindow& vyber = *windows.selection;
    for (int lang : {0, 500}) {
        kv::settings().langBase = lang;
        vyber.show();
        QApplication::processEvents();
        const QString tip = kv::SelectionTipDialog::tipText(lang);
        const auto caption = [&vyber](const char* name) {
            return vyber.findChild<QAbstractButton*>(name)->text().remove('&');
        };
        EXPECT_TRUE(tip.contains(caption("btnSpocitat"))) << tip.toStdString();
        EXPECT_TRUE(tip.contains(caption("btnOk"))) << tip.toStdString();
        EXPECT_TRUE(tip.contains(vyber.findChild<QLabel*>("lSlovnik")->text().remove('&')));
        // The dictionary is left of every criterion row, and the tip says so.
        const QWidget* list = vyber.findChild<QWidget*>("DBList");
        EXPECT_LT(list->geometry().right(), vyber.rowEdit(kv::SelectionWindow::Row::Nazev)->x());
        EXPECT_TRUE(tip.contains(lang == 0 ? QString::fromUtf8("vlevo") : "on the left"));
        EXPECT_FALSE(tip.contains(lang == 0 ? QString::fromUtf8("vpravo") : "right"));
        for (const char* wrong : {"Počet ", " OK"})
            EXPECT_FALSE(tip.contains(QString::fromUtf8(wrong))) << wrong;
        // The whole text fits the tip's picture.
        const QFontMetrics fm(QFont(QStringLiteral("DejaVu Sans"), 9));
        const QRect room(0, 0, 343 - 16, 167 - 16);
        EXPECT_TRUE(room.contains(fm.boundingRect(room, Qt::TextWordWrap, tip)));
        vyber.hide();
    }
    kv::settings().langBase = 0;
}
