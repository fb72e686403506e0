// Journeys through the print windows with input delivered the way the window
// system delivers it: the settings window is modal, so the preview opened
// from it must take the mouse and keyboard itself.
#include "reports/Report.h"
#include "tests/support/Journey.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/PdfProbe.h"
#include "tests/support/WindowInput.h"
#include "ui/FilteredLineEdit.h"
#include "ui/PageView.h"
#include "ui/PrintPreviewWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvtest;
namespace in = kvtest::input;

namespace
{

kv::PrintPreviewWindow* visiblePreview()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto p = qobject_cast<kv::PrintPreviewWindow*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

// Page and page count as the preview's status shows them ("Strana 2 z 9").
std::pair<int, int> shownPage()
{
    kv::PrintPreviewWindow* p = visiblePreview();
    if (!p)
        return {0, 0};
    const auto m = QRegularExpression(QStringLiteral(R"((\d+)\D+(\d+))")).match(p->statusText());
    return m.hasMatch() ? std::pair{m.captured(1).toInt(), m.captured(2).toInt()} : std::pair{0, 0};
}

bool previewFinished()
{
    kv::PrintPreviewWindow* p = visiblePreview();
    return p && p->report() && p->report()->pageStore().isFinished() &&
           shownPage().second == p->report()->pageStore().pageCount();
}

// Steps that leaf, zoom and print in an open preview, then close it.
void leafZoomPrintClose(Journey& j, int& pages, int& widthZoom, const QString& pdf)
{
    j.waitFor("the preview with every page", [] { return previewFinished(); })
        .then("the preview has the keyboard",
              [&] {
                  pages = shownPage().second;
                  EXPECT_EQ(JourneyApp::focusWindowName(), "FPreview");
                  EXPECT_EQ(shownPage().first, 1);
                  in::click("sbNext");
              })
        .waitFor("page 2", [] { return shownPage().first == 2; })
        .then("last page", [] { in::click("sbLast"); })
        .waitFor("the last page", [&] { return shownPage().first == pages; })
        .then("previous page", [] { in::click("sbPrev"); })
        .waitFor("the page before the last",
                 [&] { return shownPage().first == qMax(1, pages - 1); })
        .then("first page", [] { in::click("sbFirst"); })
        .waitFor("page 1", [] { return shownPage().first == 1; })
        .then("zoom typed", [] { in::type(in::find("EditZoom"), "50"); })
        .waitFor("zoom 50", [] { return visiblePreview()->view()->zoom() == 50; })
        .then("whole page", [] { in::click("sbFull"); })
        .waitFor("the whole page zoom",
                 [] {
                     kv::PageView* v = visiblePreview()->view();
                     return v->zoom() ==
                            kv::PrintPreviewWindow::wholePageZoom(v->viewSize(), v->pagePixels());
                 })
        .then("page width",
              [&] {
                  kv::PageView* v = visiblePreview()->view();
                  widthZoom = kv::PrintPreviewWindow::pageWidthZoom(v->viewSize(), v->pagePixels());
                  in::click("sbDetail");
              })
        .waitFor("the page width zoom",
                 [&] { return visiblePreview()->view()->zoom() == widthZoom; });
    if (!pdf.isEmpty())
        j.then("print", [] { in::click("sbPrint"); }).waitFor("the PDF file", [pdf] {
            return QFile::exists(pdf) && !visiblePreview()->report()->isGenerating();
        });
    j.then("close the preview", [] { in::click("btnZavrit"); }).waitFor("the preview gone", [] {
        return visiblePreview() == nullptr;
    });
}

// In the printer dialog of the settings window in front: print to this PDF.
void choosePdfPrinter(Journey& j, const QString& pdf)
{
    j.then("printer dialog", [] { in::click("btnTiskarna"); })
        .waitFor("the printer dialog", [] { return qobject_cast<QPrintDialog*>(in::front()); })
        .then("a PDF file as the printer",
              [pdf] {
                  QWidget* dialog = in::front();
                  auto printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
                  ASSERT_NE(printers, nullptr);
                  // The PDF printer is the combo's last entry.
                  in::click(printers);
                  in::key(Qt::Key_End);
                  in::key(Qt::Key_Return);
              })
        .waitFor("the file name field", [] { return in::find("filename") != nullptr; })
        .then("type the file name",
              [pdf] {
                  in::type(in::find("filename"), pdf);
                  auto box = in::front()->findChild<QDialogButtonBox*>();
                  ASSERT_NE(box, nullptr);
                  in::click(box->button(QDialogButtonBox::Ok));
              })
        .waitFor("back in the settings window",
                 [] { return !qobject_cast<QPrintDialog*>(in::front()); });
}

class JourneyPrint : public ::testing::Test
{
protected:
    QTemporaryDir dir;
};

TEST_F(JourneyPrint, ListPreviewTakesInputPrintsToPdfAndClosesItsSettingsWindow)
{
    JourneyApp app;
    const QString pdf = dir.filePath("list.pdf");
    int pages = 0, widthZoom = 0;
    Journey j;
    j.then("Tisk > Seznam", [&] {
         in::chooseMenu(&app.window(), {"MITisk", "MITSeznam"});
     }).waitFor("the list print settings", [] { return in::frontIs("FSetSeznam"); });
    choosePdfPrinter(j, pdf);
    j.then("Náhled/Tisk", [] { in::click("btnPreview"); });
    leafZoomPrintClose(j, pages, widthZoom, pdf);
    j.waitFor("the settings window closed with the preview",
              [] { return !in::find("FSetSeznam") && in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    EXPECT_GT(pages, 2);
    EXPECT_EQ(pdfPages(pdf), pages);
    EXPECT_TRUE(pdfText(pdf).contains(app.dm().firms()->text("nazev").left(10)));
}

TEST_F(JourneyPrint, ProfilePreviewTakesInputAndClosesItsSettingsWindow)
{
    JourneyApp app(40);
    int pages = 0, widthZoom = 0;
    Journey j;
    j.then("Tisk > Profil",
           [&] {
               in::chooseMenu(&app.window(), {"MITisk", "MITProfil"});
           })
        .waitFor("the profile print settings", [] { return in::frontIs("FSetProfil"); })
        .then("Náhled/Tisk", [] { in::click("btnPreview"); });
    leafZoomPrintClose(j, pages, widthZoom, QString());
    j.waitFor("the settings window closed with the preview",
              [] { return !in::find("FSetProfil") && in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    EXPECT_GE(pages, 40);
}

TEST_F(JourneyPrint, LabelPreviewTakesInput)
{
    JourneyApp app;
    int pages = 0, widthZoom = 0;
    Journey j;
    j.then("Tisk > Štítky",
           [&] {
               in::chooseMenu(&app.window(), {"MITisk", "MITStitky"});
           })
        .waitFor("the label settings", [] { return in::frontIs("FSetLabel"); })
        .then("Náhled/Tisk", [] { in::click("btnPreview"); });
    leafZoomPrintClose(j, pages, widthZoom, QString());
    j.then("close the label settings", [] {
         in::click("btnZrusit");
     }).waitFor("the main window in front", [] { return in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    EXPECT_GT(pages, 2);
}

// The preview in front takes its page keys and the wheel: PgDown/PgUp,
// Home/End leaf, Ctrl++ and Ctrl+- zoom along the scale, and the wheel
// scrolls the page and past its bottom goes on to the next one.
TEST_F(JourneyPrint, PreviewLeafsByKeysAndWheel)
{
    JourneyApp app;
    int pages = 0, scrolled = 0;
    QString zoomShown;
    Journey j;
    const auto key = [&j](const char* what, int k, Qt::KeyboardModifiers m, auto ready) {
        j.then(what, [k, m] { in::key(k, m); }).waitFor(what, ready);
    };
    j.then("Tisk > Seznam",
           [&] {
               in::chooseMenu(&app.window(), {"MITisk", "MITSeznam"});
           })
        .waitFor("the list print settings", [] { return in::frontIs("FSetSeznam"); })
        .then("Náhled/Tisk", [] { in::click("btnPreview"); })
        .waitFor("the preview with every page", [&] {
            pages = shownPage().second;
            return previewFinished() && JourneyApp::focusWindowName() == "FPreview";
        });
    key("PgDown: page 2", Qt::Key_PageDown, Qt::NoModifier, [] { return shownPage().first == 2; });
    key("End: the last page", Qt::Key_End, Qt::NoModifier,
        [&] { return pages > 2 && shownPage().first == pages; });
    key("PgUp: the page before", Qt::Key_PageUp, Qt::NoModifier,
        [&] { return shownPage().first == pages - 1; });
    key("Home: page 1", Qt::Key_Home, Qt::NoModifier, [] { return shownPage().first == 1; });
    key("Ctrl++: larger", Qt::Key_Plus, Qt::ControlModifier,
        [&] { return visiblePreview()->view()->zoom() == 125; });
    j.then("the zoom field follows", [&] { zoomShown = visiblePreview()->editZoom()->text(); });
    key("Ctrl+-: back", Qt::Key_Minus, Qt::ControlModifier,
        [] { return visiblePreview()->view()->zoom() == 100; });
    j.then("the wheel scrolls the page",
           [&] {
               kv::PageView* v = visiblePreview()->view();
               in::wheel(v, -120);
               scrolled = v->verticalScrollBar()->value();
               EXPECT_EQ(v->page(), 1);
           })
        .then("the wheel on past the page's bottom",
              [] {
                  kv::PageView* v = visiblePreview()->view();
                  for (int i = 0; i < 100 && v->page() == 1; ++i)
                      in::wheel(v, -120);
              })
        .waitFor("page 2 by the wheel", [] { return shownPage().first == 2; })
        .then("the wheel up at the top: page 1 at its bottom",
              [] { in::wheel(visiblePreview()->view(), 120); })
        .waitFor("page 1 again",
                 [] {
                     QScrollBar* bar = visiblePreview()->view()->verticalScrollBar();
                     return shownPage().first == 1 && bar->value() == bar->maximum();
                 })
        .then("close the preview", [] { in::click("btnZavrit"); })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    EXPECT_EQ(zoomShown, "125");
    EXPECT_GT(scrolled, 0);
}

// A long generation shows its progress by records in the preview's status
// area, and its Cancel ends it with the pages made so far.
TEST_F(JourneyPrint, LongGenerationShowsProgressAndCanBeCancelled)
{
    JourneyApp app(2000);
    int shownMax = 0, shownValue = 0;
    Journey j;
    j.then("Tisk > Seznam",
           [&] {
               in::chooseMenu(&app.window(), {"MITisk", "MITSeznam"});
           })
        .waitFor("the list print settings", [] { return in::frontIs("FSetSeznam"); })
        .then("Náhled/Tisk", [] { in::click("btnPreview"); })
        .waitFor("the progress bar",
                 [] {
                     kv::PrintPreviewWindow* p = visiblePreview();
                     // Far enough for a few whole pages.
                     return p && p->progressBar()->isVisible() && p->progressBar()->value() >= 300;
                 })
        .then("cancel the generation",
              [&] {
                  shownMax = visiblePreview()->progressBar()->maximum();
                  shownValue = visiblePreview()->progressBar()->value();
                  in::click(visiblePreview()->stopButton());
              })
        .waitFor("the generation ended",
                 [] { return previewFinished() && !visiblePreview()->progressBar()->isVisible(); })
        .then("the pages made so far can be seen",
              [] {
                  const auto [page, count] = shownPage();
                  EXPECT_EQ(page, 1);
                  EXPECT_GT(count, 0);
                  EXPECT_TRUE(visiblePreview()->report()->cancelRequested());
                  in::click("btnZavrit");
              })
        .waitFor("the main window", [] { return in::frontIs("FMain"); });
    ASSERT_TRUE(j.run());
    EXPECT_EQ(shownMax, 2000);
    EXPECT_GE(shownValue, 300);
    EXPECT_LT(shownValue, 2000);
}

} // namespace
