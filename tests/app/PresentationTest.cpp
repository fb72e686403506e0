// The presentation window: page pictures by language, the six page buttons,
// scrolling of tall pages, unreadable pages, links, and the main window's
// Presentation command.
#include "core/Settings.h"
#include "domain/PresentationPages.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "tests/support/TestHome.h"
#include "ui/MainWindow.h"
#include "ui/PresentationCommand.h"
#include "ui/PresentationWindow.h"

#include <QButtonGroup>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using kv::PresentationPages;

TEST(PresentationPages, PictureNamesByLanguage)
{
    const char* czech[] = {"Prez/LUM_C.JPG", "Prez/KV_C.JPG", "Prez/VE_C.JPG",
                           "Prez/PE_C.JPG",  "Prez/TA_C.JPG", "Prez/KO_C.JPG"};
    const char* english[] = {"Prez/LUM_E.JPG", "Prez/KV_E.JPG", "Prez/VE_E.JPG",
                             "Prez/PE_E.JPG",  "Prez/TA_E.JPG", "Prez/KO_E.JPG"};
    for (int p = 0; p < PresentationPages::PageCount; ++p) {
        EXPECT_EQ(PresentationPages::fileName(PresentationPages::Page(p), 0), czech[p]);
        EXPECT_EQ(PresentationPages::fileName(PresentationPages::Page(p), 500), english[p]);
    }
    kv::settings().dataHome = "/data/kv\\";
    EXPECT_EQ(PresentationPages::path(PresentationPages::Contacts, 500), "/data/kv/Prez/KO_E.JPG");
    kv::settings() = kv::Settings();
}

TEST(PresentationPages, ButtonsInOrderWithTheirTexts)
{
    const auto& b = PresentationPages::buttons();
    const char* names[] = {"sbLum", "sbKV", "sbVE", "sbPE", "sbTA", "sbKontakty"};
    const int texts[] = {192, 187, 188, 189, 190, 71};
    for (int i = 0; i < PresentationPages::PageCount; ++i) {
        EXPECT_STREQ(b[size_t(i)].name, names[i]);
        EXPECT_EQ(b[size_t(i)].textId, texts[i]);
        EXPECT_EQ(b[size_t(i)].page, PresentationPages::Page(i));
    }
}

TEST(PresentationPages, ScrollOnlyWhenTallerThanThePanel)
{
    EXPECT_FALSE(PresentationPages::scroll(300, 500).visible);
    EXPECT_FALSE(PresentationPages::scroll(500, 500).visible);
    const auto s = PresentationPages::scroll(501, 500);
    EXPECT_TRUE(s.visible);
    EXPECT_EQ(s.maximum, 1);
    EXPECT_EQ(PresentationPages::scroll(900, 500).maximum, 400);
}

namespace
{

// Page pictures of known heights: Czech Kvelta 900 (scrolls), English
// Kvelta 400, Lumora 300; Velund missing, Tamsik no picture at all.
class Presentation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kv::settings() = kv::Settings();
        kv::settings().dataHome = home.path();
        page("KV_C.JPG", 900, Qt::red);
        page("KV_E.JPG", 400, Qt::blue);
        page("LUM_C.JPG", 300, Qt::green);
        page("LUM_E.JPG", 300, Qt::green);
        page("PE_C.JPG", 500, Qt::yellow);
        page("KO_C.JPG", 700, Qt::cyan);
        home.write("Prez/TA_C.JPG", "no picture here");
    }
    void TearDown() override { kv::settings() = kv::Settings(); }

    void page(const QString& name, int height, Qt::GlobalColor colour)
    {
        QImage img(600, height, QImage::Format_RGB32);
        img.fill(colour);
        ASSERT_TRUE(img.save(home.file("Prez/" + name), "JPG"));
    }
    QColor shownColour(kv::PresentationWindow& w)
    {
        return QColor(w.image()->pixmap().toImage().pixel(300, 10));
    }
    int checkedCount(kv::PresentationWindow& w)
    {
        int n = 0;
        for (const auto& b : PresentationPages::buttons())
            n += w.pageButton(b.page)->isChecked() ? 1 : 0;
        return n;
    }

    kvtest::TestHome home;
};

bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
           std::abs(a.blue() - b.blue()) < 40;
}

} // namespace

TEST_F(Presentation, SixPageButtonsExactlyOnePressed)
{
    kv::PresentationWindow w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "Prezentace");
    EXPECT_EQ(w.size(), QSize(748, 500));
    EXPECT_EQ(w.pagePanel()->geometry(), QRect(0, 0, 616, 500));
    const char* texts[] = {"Lumora", "Kvelta", "Velund", "Pelorin", "Tamsik", "Kontakty"};
    int top = 0;
    for (const auto& b : PresentationPages::buttons()) {
        QToolButton* button = w.pageButton(b.page);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->objectName(), b.name);
        EXPECT_EQ(button->text(), texts[b.page]);
        EXPECT_TRUE(button->font().bold());
        EXPECT_EQ(button->geometry().size(), QSize(130, 45));
        EXPECT_EQ(button->y(), top);
        top += 45;
    }
    EXPECT_EQ(checkedCount(w), 1);
    EXPECT_TRUE(w.pageButton(PresentationPages::Kvelta)->isChecked());
    EXPECT_EQ(w.currentPage(), PresentationPages::Kvelta);

    QTest::mouseClick(w.pageButton(PresentationPages::Lumora), Qt::LeftButton);
    EXPECT_EQ(checkedCount(w), 1);
    EXPECT_TRUE(w.pageButton(PresentationPages::Lumora)->isChecked());
    EXPECT_EQ(w.currentPage(), PresentationPages::Lumora);
    EXPECT_TRUE(near(shownColour(w), Qt::green));
    // Clicking the pressed button keeps it pressed.
    QTest::mouseClick(w.pageButton(PresentationPages::Lumora), Qt::LeftButton);
    EXPECT_EQ(checkedCount(w), 1);
}

TEST_F(Presentation, CzechAndEnglishPicturesByLanguage)
{
    {
        kv::PresentationWindow w;
        w.show();
        EXPECT_TRUE(w.shownPath().endsWith("/Prez/KV_C.JPG"));
        EXPECT_EQ(w.image()->height(), 900);
        EXPECT_TRUE(near(shownColour(w), Qt::red));
    }
    kv::settings().langBase = 500;
    kv::PresentationWindow w;
    w.show();
    EXPECT_EQ(w.windowTitle(), "Our products");
    EXPECT_EQ(w.closeButton()->text(), "&Close");
    EXPECT_EQ(w.pageButton(PresentationPages::Contacts)->text(), "Contacts");
    EXPECT_EQ(w.mailButton()->text(), "Comments");
    EXPECT_TRUE(w.shownPath().endsWith("/Prez/KV_E.JPG"));
    EXPECT_EQ(w.image()->height(), 400);
    EXPECT_TRUE(near(shownColour(w), Qt::blue));
}

TEST_F(Presentation, ScrollBarOnlyForPagesTallerThanThePanel)
{
    kv::PresentationWindow w;
    w.show();
    QScrollBar* sb = w.scrollBar();
    ASSERT_FALSE(sb->isHidden()); // Kvelta, 900 high
    EXPECT_EQ(sb->geometry(), QRect(600, 0, 16, 500));
    EXPECT_EQ(sb->minimum(), 0);
    EXPECT_EQ(sb->maximum(), 400);
    EXPECT_EQ(sb->singleStep(), 30);
    EXPECT_EQ(sb->pageStep(), 30);
    sb->setValue(120);
    EXPECT_EQ(w.image()->y(), -120);

    // A page that fits starts at its top and has no scroll bar.
    QTest::mouseClick(w.pageButton(PresentationPages::Lumora), Qt::LeftButton);
    EXPECT_TRUE(sb->isHidden());
    EXPECT_EQ(w.image()->y(), 0);
    EXPECT_EQ(w.image()->height(), 300);
    // Exactly as high as the panel: still no scroll bar.
    QTest::mouseClick(w.pageButton(PresentationPages::Pelorin), Qt::LeftButton);
    EXPECT_TRUE(sb->isHidden());

    // Another tall page starts at its top too.
    QTest::mouseClick(w.pageButton(PresentationPages::Kvelta), Qt::LeftButton);
    sb->setValue(sb->maximum());
    QTest::mouseClick(w.pageButton(PresentationPages::Contacts), Qt::LeftButton);
    EXPECT_FALSE(sb->isHidden());
    EXPECT_EQ(sb->value(), 0);
    EXPECT_EQ(sb->maximum(), 200);
    EXPECT_EQ(w.image()->y(), 0);
}

TEST_F(Presentation, MissingPageIsReportedAndThePreviousStays)
{
    kv::PresentationWindow w;
    w.show();
    w.scrollBar()->setValue(60);
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    QTest::mouseClick(w.pageButton(PresentationPages::Velund), Qt::LeftButton);
    EXPECT_EQ(title, "Chyba ...!");
    EXPECT_TRUE(text.contains("VE_C.JPG")) << text.toStdString();
    EXPECT_EQ(w.currentPage(), PresentationPages::Kvelta);
    EXPECT_TRUE(w.shownPath().endsWith("/Prez/KV_C.JPG"));
    EXPECT_TRUE(near(shownColour(w), Qt::red));
    EXPECT_TRUE(w.pageButton(PresentationPages::Kvelta)->isChecked());
    EXPECT_EQ(checkedCount(w), 1);
    EXPECT_EQ(w.image()->y(), -60);
    EXPECT_TRUE(w.isVisible());

    // A file that is no picture: the same.
    text.clear();
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text);
    QTest::mouseClick(w.pageButton(PresentationPages::Tamsik), Qt::LeftButton);
    EXPECT_TRUE(text.contains("TA_C.JPG")) << text.toStdString();
    EXPECT_TRUE(w.pageButton(PresentationPages::Kvelta)->isChecked());
    EXPECT_EQ(w.currentPage(), PresentationPages::Kvelta);
}

TEST_F(Presentation, WebAndMailButtonsOpenTheMakersAddresses)
{
    kv::PresentationWindow w;
    QStringList opened;
    w.setUrlOpener([&](const QUrl& url) { opened << url.toString(); });
    w.show();
    EXPECT_EQ(w.webButton()->text(), "www.lumora-kv.cz");
    EXPECT_EQ(w.mailButton()->text(), QString::fromUtf8("Připomínky a náměty"));
    EXPECT_TRUE(w.webButton()->font().underline());
    QTest::mouseClick(w.webButton(), Qt::LeftButton);
    QTest::mouseClick(w.mailButton(), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList({"https://www.lumora-kv.cz", "mailto:info@lumora-kv.cz"}));
}

TEST(PresentationCommand, OpensThePresentationWindowModally)
{
    kv::settings() = kv::Settings();
    kv::settings().dataHome = kvtest::demoHome(250);
    {
        kv::MainWindow window(nullptr, 0);
        kv::installPresentationCommand(window);
        QString seen;
        int height = 0;
        int pressed = 0;
        kvtest::DialogClicker::onNext([&](QWidget* w) {
            seen = QString::fromLatin1(w->metaObject()->className());
            if (auto p = qobject_cast<kv::PresentationWindow*>(w)) {
                height = p->image()->height();
                for (const auto& b : PresentationPages::buttons())
                    pressed += p->pageButton(b.page)->isChecked() ? 1 : 0;
                p->closeButton()->click();
            } else {
                w->close();
            }
        });
        window.menus()->item("MIPrezentace")->trigger();
        EXPECT_EQ(seen, "kv::PresentationWindow");
        EXPECT_GT(height, 0); // the demo home has the page pictures
        EXPECT_EQ(pressed, 1);
    }
    kv::settings() = kv::Settings();
}
