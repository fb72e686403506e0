// The labels print command of the main window on a generated data home.
#include "ui/LabelPrinting.h"
#include "core/Settings.h"
#include "domain/DataModule.h"
#include "reports/Report.h"
#include "tests/reports/ReportFixture.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "ui/LabelPrintSettingsDialog.h"
#include "ui/MainMenus.h"
#include "ui/MainWindow.h"
#include "ui/PrintCommands.h"
#include "ui/PrintPreviewWindow.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kv;

namespace
{

constexpr int kFirms = 20;

class LabelPrinting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        settings() = Settings();
        settings().dataHome = kvtest::demoHome(kFirms);
        ASSERT_EQ(dm.openDatabase().status, DataModule::OpenStatus::Opened);
        window = std::make_unique<MainWindow>(&dm, 0);
        commands = new PrintCommands(*window, dm);
        installLabelPrinting(*commands, dm);
        labels = window->findChild<LabelPrintSettingsDialog*>("FSetLabel");
    }
    void TearDown() override
    {
        window.reset();
        settings() = Settings();
    }

    // Opens the labels command, presses Preview/Print, keeps the pages once
    // they are all generated, closes the preview and then the window.
    void previewThroughCommand()
    {
        pages.clear();
        kvtest::DialogClicker::onNext([this](QWidget* w) {
            ASSERT_EQ(w, labels);
            auto poll = new QTimer(w);
            QObject::connect(poll, &QTimer::timeout, [this, poll]() {
                PrintPreviewWindow* preview = commands->preview();
                Report* report = preview ? preview->report() : nullptr;
                if (!report || !report->pageStore().isFinished())
                    return;
                poll->deleteLater();
                for (int n = 1; n <= report->pageStore().pageCount(); ++n)
                    pages.push_back(*report->pageStore().page(n));
                preview->close();
            });
            poll->start(10);
            w->findChild<QPushButton*>("btnPreview")->click();
            w->findChild<QPushButton*>("btnZrusit")->click();
        });
        window->menus()->item("MITStitky")->trigger();
    }

    DataModule dm;
    std::unique_ptr<MainWindow> window;
    PrintCommands* commands = nullptr;
    LabelPrintSettingsDialog* labels = nullptr;
    std::vector<ReportPage> pages;
};

} // namespace

TEST_F(LabelPrinting, CommandPrintsOneLabelPerFirmOfTheSetWithoutMovingIt)
{
    ASSERT_NE(labels, nullptr);
    dm.firms()->setFilter(QString(), false);
    ASSERT_EQ(dm.firms()->recordCount(), kFirms);
    dm.firms()->setPosition(5);
    previewThroughCommand();
    ASSERT_EQ(pages.size(), 2u); // 18 labels a sheet
    int placed = 0;
    for (const ReportPage& p : pages)
        placed += int(kvtest::opsOf(p, DrawOp::Type::Band, "label").size());
    EXPECT_EQ(placed, kFirms);
    EXPECT_EQ(dm.firms()->position(), 5);
    EXPECT_FALSE(labels->isVisible());
    EXPECT_EQ(labels->labelReport(), nullptr);

    // A selection of one firm gives one label.
    dm.firms()->setFilter(QStringLiteral("peno in(%1)").arg(dm.firms()->value("peno").toInt()),
                          true);
    previewThroughCommand();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(kvtest::opsOf(pages[0], DrawOp::Type::Band, "label").size(), 1u);
}
