#include "app/Application.h"
#include "tests/support/DialogClicker.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(GeneralError, ExceptionFromAHandlerIsShownAndTheProgramGoesOn)
{
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    const bool handled = kv::Application::runGuarded(
        []() -> bool { throw std::runtime_error("no such table: firma"); });
    EXPECT_FALSE(handled);
    EXPECT_EQ(text, "no such table: firma");
    EXPECT_EQ(title, QString::fromUtf8("Chyba ...!"));
    // A delivery that does not throw passes its result through, no box.
    EXPECT_TRUE(kv::Application::runGuarded([]() { return true; }));
}

TEST(CommandLine, BadArgumentsPrintUsageAndExit2)
{
    for (const QStringList& args :
         {QStringList{"no-such-command"}, QStringList{"--home"}, QStringList{"--bogus"},
          QStringList{"oxo-dump"}, QStringList{"oxo-pack", "--key", "x", "a", "b"}}) {
        QProcess p;
        p.start(KV_KVELTA_EXE, args);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains("usage")) << args.join(' ').toStdString();
    }
}
