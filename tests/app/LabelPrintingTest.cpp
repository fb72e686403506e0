// The labels print command of the main window on a generated data home.
#include "app/LabelPrinting.h"
#include "app/MainMenus.h"
#include "app/PrintCommands.h"
#include "app/TFMain.h"
#include "app/core/Global.h"
#include "data/TDM.h"
#include "printing/Report.h"
#include "printing/TFPreview.h"
#include "printing/TFSetLabel.h"
#include "tests/app/DemoHome.h"
#include "tests/printing/ReportFixture.h"
#include "tests/support/DialogClicker.h"

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
        global() = GlobalState();
        global().dataHome = kvtest::demoHome(kFirms);
        ASSERT_EQ(dm.OpenDatabase().status, TDM::OpenStatus::Opened);
        window = std::make_unique<TFMain>(&dm, 0);
        commands = new PrintCommands(*window, dm);
        installLabelPrinting(*commands, dm);
        labels = window->findChild<TFSetLabel*>("FSetLabel");
    }
    void TearDown() override
    {
        window.reset();
        global() = GlobalState();
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
                TFPreview* preview = commands->preview();
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

    TDM dm;
    std::unique_ptr<TFMain> window;
    PrintCommands* commands = nullptr;
    TFSetLabel* labels = nullptr;
    std::vector<ReportPage> pages;
};

} // namespace

TEST_F(LabelPrinting, CommandPrintsOneLabelPerFirmOfTheSetWithoutMovingIt)
{
    ASSERT_NE(labels, nullptr);
    dm.TFirma->setFilter(QString(), false);
    ASSERT_EQ(dm.TFirma->recordCount(), kFirms);
    dm.TFirma->setPosition(5);
    previewThroughCommand();
    ASSERT_EQ(pages.size(), 2u); // 18 labels a sheet
    int placed = 0;
    for (const ReportPage& p : pages)
        placed += int(kvtest::opsOf(p, DrawOp::Type::Band, "label").size());
    EXPECT_EQ(placed, kFirms);
    EXPECT_EQ(dm.TFirma->position(), 5);
    EXPECT_FALSE(labels->isVisible());
    EXPECT_EQ(labels->labelReport(), nullptr);

    // A selection of one firm gives one label.
    dm.TFirma->setFilter(QStringLiteral("peno in(%1)").arg(dm.TFirma->value("peno").toInt()), true);
    previewThroughCommand();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(kvtest::opsOf(pages[0], DrawOp::Type::Band, "label").size(), 1u);
}
