#include "cli/CommandCall.h"

#include "cli/CommandTable.h"

namespace kv::cli
{

CommandCall::CommandCall(const Command& command, QTextStream& out, QTextStream& err)
    : m_command(command), m_out(out), m_err(err)
{
    command.declare(m_syntax);
    m_syntax.declareOn(m_parser);
}

QString CommandCall::name() const
{
    return QString::fromLatin1(m_command.name);
}

bool CommandCall::declares(const QString& option) const
{
    for (const QCommandLineOption& declared : m_syntax.options())
        if (declared.names().contains(option))
            return true;
    return false;
}

QString CommandCall::usage() const
{
    const QString synopsis = m_syntax.synopsis();
    return QStringLiteral("usage: kvelta ") + name() +
           (synopsis.isEmpty() ? QString() : u' ' + synopsis);
}

QString CommandCall::help() const
{
    // Qt's first line names the executable by its path and hides the
    // options behind "[options]"; the synopsis says more.
    const QString text = m_parser.helpText();
    return usage() + u'\n' + text.mid(text.indexOf(u'\n') + 1);
}

CommandCall::Outcome CommandCall::parse(const QStringList& args)
{
    const bool parsed = m_parser.parse(QStringList{QStringLiteral("kvelta")} + args);
    if (m_parser.isSet(QStringLiteral("help")))
        return Outcome::Help;
    m_error = parsed ? countError() : parseError(args);
    return m_error.isEmpty() ? Outcome::Run : Outcome::Error;
}

QString CommandCall::parseError(const QStringList& args) const
{
    // Either spelling reaches the option; name it as it was typed.
    const auto typed = [](const QString& word, const QString& name) {
        return word == u'-' + name || word == QStringLiteral("--") + name;
    };
    const QStringList unknown = m_parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        for (const QString& a : args)
            if (typed(a.section(u'=', 0, 0), unknown.first()))
                return QStringLiteral("unknown option %1").arg(a.section(u'=', 0, 0));
        return QStringLiteral("unknown option %1").arg(CommandSyntax::spelled(unknown.first()));
    }
    // The parser stops at an option that wants a value after the last word.
    const QStringList found = m_parser.optionNames();
    if (!found.isEmpty() && !args.isEmpty() && typed(args.last(), found.last()))
        return QStringLiteral("%1 needs a value").arg(args.last());
    return m_parser.errorText();
}

QString CommandCall::countError() const
{
    const QList<CommandSyntax::Argument>& declared = m_syntax.arguments();
    const QStringList given = m_parser.positionalArguments();
    qsizetype least = 0;
    bool repeatable = false;
    for (const CommandSyntax::Argument& argument : declared) {
        if (argument.need == CommandSyntax::Need::Required)
            ++least;
        repeatable = repeatable || argument.need == CommandSyntax::Need::Repeatable;
    }
    if (given.size() < least)
        return QStringLiteral("%1 is missing").arg(declared[given.size()].name);
    if (!repeatable && given.size() > declared.size())
        return QStringLiteral("unexpected argument '%1'").arg(given[declared.size()]);
    for (const QCommandLineOption& option : m_syntax.options()) {
        const QString& name = option.names().constLast();
        if (m_syntax.isRequired(option) && m_parser.value(name).isEmpty())
            return QStringLiteral("%1 %2 is missing")
                .arg(CommandSyntax::spelled(name), option.valueName());
    }
    return {};
}

int CommandCall::usageError(const QString& problem) const
{
    m_err << "kvelta " << name() << ": " << problem << "\n" << usage() << "\n";
    m_err.flush();
    return 2;
}

} // namespace kv::cli
