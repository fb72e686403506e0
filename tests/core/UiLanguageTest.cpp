// Qt's own dialogs and the numbers shown follow the program's language, not
// the process locale (the tests run under C.UTF-8).
#include "core/UiLanguage.h"
#include "core/Settings.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

class Language : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override
    {
        kv::UiLanguage::apply(0);
        kv::settings() = kv::Settings();
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    }
};

// A widget that counts the language changes it is told of.
class Listener : public QWidget
{
public:
    int changes = 0;

protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            ++changes;
        QWidget::changeEvent(event);
    }
};

QString yesText()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                    QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text();
}

} // namespace

TEST_F(Language, QtButtonsFollowTheProgramLanguage)
{
    // The catalogue comes from the distribution's Qt translations.
    ASSERT_TRUE(QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                              QStringLiteral("/qtbase_cs.qm")));
    kv::UiLanguage::apply(0);
    EXPECT_TRUE(kv::UiLanguage::qtTranslated());
    EXPECT_EQ(yesText(), QStringLiteral("&Ano"));
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("Zrušit"));

    kv::UiLanguage::apply(500);
    EXPECT_EQ(kv::settings().langBase, 500);
    EXPECT_FALSE(kv::UiLanguage::qtTranslated());
    EXPECT_EQ(yesText(), QStringLiteral("&Yes"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));

    kv::UiLanguage::apply(0);
    EXPECT_EQ(yesText(), QStringLiteral("&Ano"));
    // A button box already open retranslates itself.
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("Zrušit"));
}

TEST_F(Language, NumbersFollowTheProgramLanguage)
{
    EXPECT_EQ(QLocale().toString(42.0, 'f', 1), QStringLiteral("42.0"));
    EXPECT_EQ(kv::UiLanguage::locale(0).toString(42.0, 'f', 1), QStringLiteral("42,0"));
    EXPECT_EQ(kv::UiLanguage::locale(500).toString(42.0, 'f', 1), QStringLiteral("42.0"));
    EXPECT_EQ(kv::UiLanguage::locale(0).toString(109000), QStringLiteral("109000"));
    kv::UiLanguage::apply(0);
    EXPECT_EQ(kv::UiLanguage::current().toString(1.5, 'f', 1), QStringLiteral("1,5"));
    // Widgets created later (spin boxes, dialogs) take the default locale.
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    kv::UiLanguage::apply(500);
    EXPECT_EQ(kv::UiLanguage::current().toString(1.5, 'f', 1), QStringLiteral("1.5"));
    EXPECT_EQ(QLocale().decimalPoint(), QStringLiteral("."));
}

TEST_F(Language, OpenWindowsHearOfTheSwitchAtOnce)
{
    Listener window;
    Listener child;
    child.setParent(&window);
    window.show();
    kv::UiLanguage::apply(500);
    EXPECT_GE(window.changes, 1);
    EXPECT_GE(child.changes, 1);
    const int before = window.changes;
    kv::UiLanguage::apply(500); // English needs no catalogue, still announced
    EXPECT_GT(window.changes, before);
}
