// Test entry point: every test binary runs headless with a QApplication and
// its own throw-away HOME, XDG folders and locale.
#include "core/Settings.h"
#include "core/UiLanguage.h"
#include "tests/support/TestHome.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

namespace
{

// ctest runs each case in a process of its own; a whole test program run by
// hand must give the same results, so each case ends by putting back what a
// fresh process starts with: no Qt translation installed (a Czech one would
// turn the system's error texts Czech), default settings, the Czech locale.
class FreshProcessState : public ::testing::EmptyTestEventListener
{
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        kv::UiLanguage::apply(500);
        kv::settings() = kv::Settings();
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    }
};

} // namespace

int main(int argc, char** argv)
{
    const kvtest::IsolatedEnvironment isolated;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProcessState);
    return RUN_ALL_TESTS();
}
