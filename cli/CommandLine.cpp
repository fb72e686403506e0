#include "cli/CommandLine.h"

#include "cli/CommandCall.h"
#include "cli/CommandSyntax.h"
#include "cli/CommandTable.h"

#include <QFileDevice>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <optional>

namespace kv::cli
{

namespace
{

constexpr qsizetype SummaryColumn = 39;

void line(QTextStream& stream, const QString& head, const QString& summary)
{
    stream << head;
    if (!summary.isEmpty()) {
        if (head.size() < SummaryColumn)
            stream << QString(SummaryColumn - head.size(), u' ');
        else
            stream << "\n" << QString(SummaryColumn, u' ');
        stream << summary;
    }
    stream << "\n";
}

QString synopsisOf(const Command& command)
{
    CommandSyntax syntax;
    command.declare(syntax);
    const QString synopsis = syntax.synopsis();
    return QString::fromLatin1(command.name) + (synopsis.isEmpty() ? QString() : u' ' + synopsis);
}

// The commands whose name starts with word and a space ("print" -> "print list").
QList<const Command*> group(const QString& word)
{
    QList<const Command*> kinds;
    for (const Command& command : commands())
        if (QString::fromLatin1(command.name).startsWith(word + u' '))
            kinds << &command;
    return kinds;
}

// The command the words name (one or two of them), and how many it took.
const Command* find(const QStringList& words, qsizetype& used)
{
    for (const Command& command : commands()) {
        const QStringList name = QString::fromLatin1(command.name).split(u' ');
        if (words.mid(0, name.size()) == name) {
            used = name.size();
            return &command;
        }
    }
    return nullptr;
}

bool asksForHelp(const QStringList& args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

// A group word without a known kind: the kinds and their usage.
int groupUsage(const QString& word, const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QList<const Command*> kinds = group(word);
    const bool help = asksForHelp(args);
    QTextStream& stream = help ? out : err;
    if (!help) {
        QStringList names;
        for (const Command* kind : kinds)
            names << QString::fromLatin1(kind->name).section(u' ', 1);
        stream << "kvelta " << word << ": "
               << (args.isEmpty() ? QStringLiteral("KIND is missing")
                                  : QStringLiteral("unknown kind '%1'").arg(args.first()))
               << ", KIND one of: " << names.join(u' ') << "\n";
    }
    const char* lead = "usage: kvelta ";
    for (const Command* kind : kinds) {
        line(stream, lead + synopsisOf(*kind), QString::fromUtf8(kind->summary));
        lead = "       kvelta ";
    }
    return help ? 0 : 2;
}

// Headless commands run where no desktop session set XDG_RUNTIME_DIR; Qt's
// warning about it would only clutter their output.
void quietHeadlessMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    QTextStream(stderr) << qFormatLogMessage(type, context, text) << "\n";
}

// A command line resolved and parsed: either a call ready to run or the
// exit code of what was already answered (help, an argument error).
struct Prepared {
    std::optional<CommandCall> call;
    const Command* command = nullptr;
    bool unknown = false;
    int code = 0;
};

void parse(Prepared& p, const Command& command, const QStringList& args, QTextStream& out,
           QTextStream& err)
{
    p.command = &command;
    p.call.emplace(command, out, err);
    switch (p.call->parse(args)) {
    case CommandCall::Outcome::Help:
        out << p.call->help();
        p.call.reset();
        p.code = 0;
        break;
    case CommandCall::Outcome::Error:
        p.code = p.call->usageError(p.call->error());
        p.call.reset();
        break;
    case CommandCall::Outcome::Run:
        break;
    }
}

void prepare(Prepared& p, const QStringList& words, QTextStream& out, QTextStream& err)
{
    qsizetype used = 0;
    if (const Command* command = find(words, used)) {
        parse(p, *command, words.mid(used), out, err);
    } else if (!words.isEmpty() && !group(words.first()).isEmpty()) {
        p.code = groupUsage(words.first(), words.mid(1), out, err);
    } else {
        err << "kvelta: unknown command '" << words.value(0) << "'\n";
        p.unknown = true;
        p.code = 2;
    }
}

} // namespace

bool isCommandLine(const QStringList& args)
{
    if (args.size() == 1 && (args[0] == QLatin1String("--version") || asksForHelp(args)))
        return true;
    return !args.isEmpty() && !args[0].startsWith(u'-') &&
           !args[0].endsWith(QLatin1String(".kvv"), Qt::CaseInsensitive);
}

void printOverview(QTextStream& stream, const CommandSyntax& desktop)
{
    line(stream, QStringLiteral("usage: kvelta ") + desktop.synopsis(), desktop.description());
    line(stream, QStringLiteral("       kvelta --version"),
         QStringLiteral("the program's version"));
    line(stream, QStringLiteral("       kvelta --help | -h"), QStringLiteral("this overview"));
    line(stream, QStringLiteral("       kvelta COMMAND --help"),
         QStringLiteral("what COMMAND does and its options"));
    for (const Command& command : commands())
        line(stream, QStringLiteral("       kvelta ") + synopsisOf(command),
             QString::fromUtf8(command.summary));
    stream.flush();
}

int runCommand(const Command& command, const QStringList& args, QTextStream& out, QTextStream& err)
{
    Prepared p;
    parse(p, command, args, out, err);
    return p.call ? command.run(*p.call) : p.code;
}

int runCommand(const QStringList& words, QTextStream& out, QTextStream& err)
{
    Prepared p;
    prepare(p, words, out, err);
    return p.call ? p.command->run(*p.call) : p.code;
}

int run(int argc, char** argv, const CommandSyntax& desktop)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (words == QStringList{QStringLiteral("--version")}) {
        out << "kvelta " << KV_VERSION << "\n";
        return 0;
    }
    if (words.size() == 1 && asksForHelp(words)) {
        printOverview(out, desktop);
        return 0;
    }
    Prepared p;
    prepare(p, words, out, err);
    if (p.unknown)
        printOverview(err, desktop);
    if (!p.call)
        return p.code;
    // Headless commands draw pictures and pages, which needs fonts and so a
    // GUI application, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHeadlessMessages);
    QGuiApplication app(argc, argv);
    int code = 1;
    try {
        code = p.command->run(*p.call);
    } catch (const std::exception& e) {
        err << "kvelta " << p.command->name << ": " << e.what() << "\n";
    }
    // What a command printed is its result (a count, a filter): standard
    // output that could not take it (a full disk, /dev/full) is a failure.
    out.flush();
    const auto* device = qobject_cast<const QFileDevice*>(out.device());
    if (out.status() != QTextStream::Ok || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        err << "kvelta " << p.command->name << ": standard output could not be written: "
            << (device && device->error() != QFileDevice::NoError ? device->errorString()
                                                                  : QStringLiteral("write error"))
            << "\n";
        if (code == 0)
            code = 5;
    }
    err.flush();
    return code;
}

} // namespace kv::cli
