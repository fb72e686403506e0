// Texts longer than any window (a 2,000-character firm name, a long list of
// telephone numbers, a long web address) are shortened with "…" where they
// are shown, readable whole in the tooltip, and never widen a window.
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/DemoHome.h"
#include "tests/support/FileProbe.h"
#include "tests/support/TestHome.h"
#include "ui/ElidedLabel.h"
#include "ui/MainWindow.h"
#include "ui/NoteDialog.h"
#include "ui/ProfileCommands.h"
#include "ui/ProfileWindow.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QScrollBar>
#include <gtest/gtest.h>

using kvtest::copyTree;

namespace
{

class LongTexts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        copyTree(kvtest::demoHome(20), home.path());
        QFile::setPermissions(home.file("Dta/KV2001.db"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        kvtest::CompanyDb::change(home.file("Dta/KV2001.db"),
                                  QStringLiteral("UPDATE firma SET nazev = ?, tel = ?, www = ?"),
                                  {name, phones, web});

        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
        ASSERT_EQ(dm.openDatabase().status, kv::DataModule::OpenStatus::Opened);
        window = std::make_unique<kv::MainWindow>(&dm, 0);
        window->resize(1000, 700);
        window->show();
        kv::installProfileCommands(*window, dm);
        QApplication::processEvents();
    }
    void TearDown() override
    {
        window.reset();
        kv::settings() = kv::Settings();
    }

    kv::ElidedLabel* shownAs(QWidget* root, const QString& full)
    {
        for (auto* l : root->findChildren<kv::ElidedLabel*>())
            if (l->fullText() == full)
                return l;
        return nullptr;
    }

    const QString name = QString::fromUtf8("Žluťoučká firma ") + QString(1984, QChar(0x0159));
    const QString phones = QStringLiteral("+420 567 123 456, ").repeated(12).chopped(2);
    const QString web = QStringLiteral("www.") + QString(300, QLatin1Char('w')) + ".cz";
    kvtest::TestHome home;
    kv::DataModule dm;
    std::unique_ptr<kv::MainWindow> window;
};

} // namespace

TEST_F(LongTexts, ProfileShortensWithAnEllipsisAndShowsTheWholeTextAsHint)
{
    ASSERT_EQ(name.size(), 2000);
    kv::ProfileWindow* profile = kv::profileWindow();
    ASSERT_NE(profile, nullptr);
    for (const QString& full : {name, phones, web}) {
        kv::ElidedLabel* label = shownAs(profile->widget(), full);
        ASSERT_NE(label, nullptr) << full.left(20).toStdString();
        EXPECT_TRUE(label->isElided());
        EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << label->text().toStdString();
        // Cut between letters: what is shown is the start of the text.
        EXPECT_TRUE(full.startsWith(label->text().chopped(1)));
        EXPECT_EQ(label->toolTip(), full);
        EXPECT_LE(label->geometry().right(), label->parentWidget()->width());
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    }
    // The name also reaches the web link line; it too ends within the window.
    EXPECT_TRUE(profile->webKVText()->isElided());
    EXPECT_LE(profile->widget()->width(), profile->viewport()->width());
    EXPECT_FALSE(profile->horizontalScrollBar()->isVisible());
}

TEST_F(LongTexts, NoteWindowStaysWithinTheScreen)
{
    kv::NoteDialog note(&dm, window.get());
    note.show();
    QApplication::processEvents();
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(note.width(), screen.width());
    EXPECT_LE(note.minimumSizeHint().width(), screen.width());
    EXPECT_EQ(note.nameLabel()->toolTip(), name);
    EXPECT_TRUE(note.nameLabel()->text().endsWith(QChar(0x2026)));
    // Short names show whole, without a hint.
    note.nameLabel()->setFullText(QStringLiteral("ABC s.r.o."));
    EXPECT_EQ(note.nameLabel()->text(), "ABC s.r.o.");
    EXPECT_TRUE(note.nameLabel()->toolTip().isEmpty());
}
