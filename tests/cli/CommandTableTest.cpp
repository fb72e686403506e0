// The table of subcommands as the user meets it: the overview, each
// command's help and its answer to an option it does not know, all taken
// from the table's own declarations and checked on the real executable.
#include "cli/CommandTable.h"
#include "cli/CommandLine.h"
#include "cli/CommandSyntax.h"
#include "tests/support/KveltaRun.h"

#include <QTextStream>
#include <gtest/gtest.h>

namespace
{

using kv::cli::Command;
using kv::cli::CommandSyntax;

QStringList words(const Command& command)
{
    return QString::fromLatin1(command.name).split(u' ');
}

struct Outcome {
    int code = -1;
    QString out, err;
};

Outcome runInProcess(const QStringList& words)
{
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.code = kv::cli::runCommand(words, out, err);
    out.flush();
    err.flush();
    return r;
}

TEST(CommandTable, OverviewListsEveryCommandOfTheTable)
{
    const kvtest::KveltaRun help = kvtest::runKvelta({"--help"});
    ASSERT_EQ(help.code, 0) << help.err.toStdString();
    // A bad desktop argument shows the same overview on standard error.
    const kvtest::KveltaRun bad = kvtest::runKvelta({"--no-such-option"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.contains("--no-such-option")) << bad.err.toStdString();
    ASSERT_FALSE(kv::cli::commands().empty());
    for (const Command& command : kv::cli::commands()) {
        const QString line = QStringLiteral("\n       kvelta ") + command.name;
        EXPECT_TRUE(help.out.contains(line)) << command.name;
        // Summaries are UTF-8 ("IČO"), not Latin-1 read twice.
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(command.summary))) << command.name;
        EXPECT_TRUE(bad.err.contains(line)) << command.name;
    }
}

TEST(CommandTable, HelpOfEachCommandNamesItsOptionsAndArguments)
{
    for (const Command& command : kv::cli::commands()) {
        SCOPED_TRACE(command.name);
        CommandSyntax syntax;
        command.declare(syntax);
        const kvtest::KveltaRun r = kvtest::runKvelta(words(command) << "--help");
        EXPECT_EQ(r.code, 0);
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: kvelta ") + command.name + u' '))
            << r.out.toStdString();
        // Qt wraps long descriptions; the words stay in order.
        const QString text = r.out.simplified();
        EXPECT_TRUE(text.contains(syntax.description().simplified())) << r.out.toStdString();
        for (const QCommandLineOption& option : syntax.options()) {
            const QString spelled = CommandSyntax::spelled(option.names().constLast());
            // Once in the synopsis, once in the list with its description.
            EXPECT_GE(r.out.count(spelled), 2) << spelled.toStdString();
            EXPECT_TRUE(text.contains(option.description().simplified())) << spelled.toStdString();
        }
        for (const CommandSyntax::Argument& argument : syntax.arguments())
            EXPECT_TRUE(text.contains(argument.description.simplified()))
                << argument.name.toStdString();
    }
}

TEST(CommandTable, UnknownOptionIsNamedAndEndsWithExitCode2)
{
    for (const Command& command : kv::cli::commands()) {
        SCOPED_TRACE(command.name);
        for (const char* option : {"--no-such-option", "-x"}) {
            const kvtest::KveltaRun r = kvtest::runKvelta(words(command) << option);
            EXPECT_EQ(r.code, 2);
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
            EXPECT_TRUE(r.err.startsWith(
                QStringLiteral("kvelta %1: unknown option %2\n").arg(command.name, option)))
                << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QStringLiteral("usage: kvelta ") + command.name))
                << r.err.toStdString();
        }
    }
}

TEST(CommandLine, ArgumentErrorsSayWhatIsWrong)
{
    const struct {
        QStringList words;
        const char* problem;
    } cases[] = {
        {{"filter"}, "kvelta filter: FILE.kvv is missing\n"},
        {{"count", "a.kvv", "b.kvv"}, "kvelta count: unexpected argument 'b.kvv'\n"},
        {{"count", "a.kvv", "--home"}, "kvelta count: --home needs a value\n"},
        {{"export", "--home", "/nonexistent"}, "kvelta export: -o OUT is missing\n"},
        {{"export", "-o", ""}, "kvelta export: -o OUT is missing\n"},
        {{"print", "list", "--labels", "a.kl", "-o", "a.pdf"},
         "kvelta print list: unknown option --labels\n"},
        {{"home", "--set=/tmp", "stray"}, "kvelta home: unexpected argument 'stray'\n"},
        {{"make-demo", "dir", "--force=yes"}, "kvelta make-demo: "},
        {{"print", "posters"},
         "kvelta print: unknown kind 'posters', KIND one of: list "
         "profiles labels\n"},
        {{"no-such-command"}, "kvelta: unknown command 'no-such-command'\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.join(u' ').toStdString());
        const Outcome r = runInProcess(c.words);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.startsWith(QString::fromUtf8(c.problem))) << r.err.toStdString();
    }
    // The usage of the command follows the reason.
    EXPECT_TRUE(runInProcess({"filter"})
                    .err.endsWith("usage: kvelta filter [--home DIR] [--db URL] FILE.kvv\n"));
}

TEST(CommandLine, HelpWinsOverArgumentErrorsAndRunsNothing)
{
    for (const QStringList& words :
         {QStringList{"export", "--bogus", "--help"}, QStringList{"filter", "-h"},
          QStringList{"print", "--help"}, QStringList{"make-demo", "a", "b", "--help"}}) {
        const Outcome r = runInProcess(words);
        EXPECT_EQ(r.code, 0) << words.join(u' ').toStdString();
        EXPECT_TRUE(r.out.startsWith("usage: kvelta ")) << r.out.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    }
}

} // namespace
