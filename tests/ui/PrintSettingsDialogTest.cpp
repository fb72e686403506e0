// The shared part of the list and profile print settings windows: the report
// form's life, a failure while generating, the close button.
#include "ui/PrintSettingsDialog.h"
#include "core/Error.h"
#include "tests/reports/ReportFixture.h"
#include "tests/support/DialogClicker.h"
#include "ui/PrintPreviewWindow.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace kv;

namespace
{

class FakeSettings : public PrintSettingsDialog
{
public:
    FakeSettings() : PrintSettingsDialog(125, nullptr) {}
    Report* report() const override { return m_report.get(); }
    bool fail = false;
    int created = 0;
    int prepared = 0;
    MemoryDataSource data{kvtest::firms(3)};

protected:
    void createReport() override
    {
        ++created;
        m_report = std::make_unique<Report>();
        kvtest::makeList(*m_report, &data);
    }
    void destroyReport() override { m_report.reset(); }
    void prepareData() override
    {
        ++prepared;
        if (fail)
            throw Error::report(QStringLiteral("Tiskárna nepřipravena"));
    }

private:
    std::unique_ptr<Report> m_report;
};

TEST(PrintSettingsDialog, ReportFormLivesWhileShownAndStartsAfresh)
{
    FakeSettings settings;
    EXPECT_EQ(settings.report(), nullptr);
    settings.show();
    ASSERT_NE(settings.report(), nullptr);
    settings.report()->font.setPointSizeF(20);
    settings.hide();
    EXPECT_EQ(settings.report(), nullptr);
    settings.show();
    EXPECT_EQ(settings.report()->font.pointSizeF(), 8); // the chosen font is gone
    EXPECT_EQ(settings.created, 2);
    EXPECT_EQ(settings.windowTitle(), "Tisk seznamu firem");
}

TEST(PrintSettingsDialog, ErrorBoxHasTheFailureTextAndNoIcon)
{
    FakeSettings settings;
    PrintPreviewWindow preview;
    settings.setPreview(&preview);
    settings.fail = true;
    settings.show();
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::Critical;
    kvtest::DialogClicker::onNext([&](QWidget* w) {
        if (auto box = qobject_cast<QMessageBox*>(w)) {
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            box->accept();
        }
    });
    settings.runPreview();
    EXPECT_EQ(text, "Tiskárna nepřipravena");
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_FALSE(settings.isVisible());
}

TEST(PrintSettingsDialog, PreviewShowsTheReportThenTheWindowCloses)
{
    FakeSettings settings;
    PrintPreviewWindow preview;
    settings.setPreview(&preview);
    settings.show();
    int shownPages = -1;
    QTimer::singleShot(0, [&] {
        shownPages = preview.report() ? preview.report()->pageStore().pageCount() : -1;
        EXPECT_TRUE(preview.isVisible());
        preview.close();
    });
    settings.runPreview();
    EXPECT_EQ(shownPages, 1);
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(settings.report(), nullptr);
}

TEST(PrintSettingsDialog, CloseButtonClosesAVisiblePreviewFirst)
{
    FakeSettings settings;
    PrintPreviewWindow preview;
    settings.setPreview(&preview);
    settings.show();
    QTimer::singleShot(0, [&] {
        // While the preview runs the window underneath is still open.
        EXPECT_TRUE(settings.isVisible());
        settings.closeButton()->click();
    });
    settings.runPreview();
    EXPECT_FALSE(preview.isVisible());
    EXPECT_FALSE(settings.isVisible());
    EXPECT_EQ(settings.report(), nullptr); // dropped once the preview call returned
}

} // namespace
