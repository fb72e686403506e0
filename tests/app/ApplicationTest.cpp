#include "ui/Application.h"
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

namespace
{

struct CommandRun {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

CommandRun runKvelta(const QStringList& args)
{
    QProcess p;
    p.start(KV_KVELTA_EXE, args);
    CommandRun r;
    if (!p.waitForFinished(10000))
        return r;
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace

TEST(CommandLine, HelpPrintsUsageOnStandardOutputAndExit0)
{
    for (const char* option : {"--help", "-h"}) {
        const CommandRun r = runKvelta({option});
        EXPECT_EQ(r.code, 0) << option;
        EXPECT_TRUE(r.out.startsWith("usage: kvelta")) << option << r.out.constData();
        // Every command appears, so the overview is the whole one.
        for (const char* command : {"export", "print labels", "import-mdb", "make-demo"})
            EXPECT_TRUE(r.out.contains(command)) << command;
        EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    }
}

TEST(CommandLine, CommandHelpDescribesThatCommandOnly)
{
    // Help wins over missing or wrong arguments, and never runs the command:
    // "export --help" without -o would otherwise fail.
    const struct {
        QStringList args;
        const char* usage;
        const char* option;
    } cases[] = {
        {{"export", "--help"}, "usage: kvelta export", "--separator"},
        {{"export", "-h", "--home", "/nonexistent"}, "usage: kvelta export", "--items"},
        {{"print", "labels", "--help"}, "usage: kvelta print labels", "--labels"},
        {{"make-demo", "--help"}, "usage: kvelta make-demo", "--firms"},
        {{"config", "--help"}, "usage: kvelta config", "--set"},
        {{"import-mdb", "--help"}, "usage: kvelta import-mdb", "--charset"},
    };
    for (const auto& c : cases) {
        const CommandRun r = runKvelta(c.args);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.code, 0) << what;
        EXPECT_TRUE(r.out.startsWith(c.usage)) << what << ": " << r.out.constData();
        EXPECT_TRUE(r.out.contains(c.option)) << what;
        EXPECT_FALSE(r.out.contains("usage: kvelta oxo-dump")) << what;
    }
    // A help request with something after it is still a bad command line for
    // the desktop program.
    EXPECT_EQ(runKvelta({"--help", "--bogus"}).code, 2);
}
