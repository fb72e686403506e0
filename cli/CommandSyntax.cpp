#include "cli/CommandSyntax.h"

#include <QCommandLineParser>

namespace kv::cli
{

void CommandSyntax::addOption(const QStringList& names, const QString& description,
                              const QString& valueName, Need need)
{
    m_order.append({true, m_options.size()});
    m_options.append(QCommandLineOption(names, description, valueName));
    m_optionNeeds.append(need);
}

void CommandSyntax::addArgument(const QString& name, const QString& description, Need need)
{
    m_order.append({false, m_arguments.size()});
    m_arguments.append({name, description, need});
}

bool CommandSyntax::isRequired(const QCommandLineOption& option) const
{
    for (qsizetype i = 0; i < m_options.size(); ++i)
        if (m_options[i].names() == option.names())
            return m_optionNeeds[i] == Need::Required;
    return false;
}

QString CommandSyntax::spelled(const QString& name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString CommandSyntax::synopsis() const
{
    QStringList words;
    for (const Part& part : m_order) {
        QString word;
        Need need;
        if (part.isOption) {
            const QCommandLineOption& option = m_options[part.index];
            word = spelled(option.names().constLast());
            if (!option.valueName().isEmpty())
                word += u' ' + option.valueName();
            need = m_optionNeeds[part.index];
        } else {
            word = m_arguments[part.index].name;
            need = m_arguments[part.index].need;
        }
        if (need != Need::Required)
            word = u'[' + word + u']';
        if (need == Need::Repeatable)
            word += QStringLiteral("...");
        words << word;
    }
    return words.join(u' ');
}

void CommandSyntax::declareOn(QCommandLineParser& parser) const
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(m_description);
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("show this help and do nothing else")));
    for (qsizetype i = 0; i < m_options.size(); ++i) {
        QString description = m_options[i].description();
        if (m_optionNeeds[i] == Need::Required)
            description += QStringLiteral(" (required)");
        QCommandLineOption option(m_options[i].names(), description, m_options[i].valueName());
        parser.addOption(option);
    }
    for (const Argument& argument : m_arguments) {
        QString syntax = argument.name;
        if (argument.need != Need::Required)
            syntax = u'[' + syntax + u']';
        if (argument.need == Need::Repeatable)
            syntax += QStringLiteral("...");
        parser.addPositionalArgument(argument.name, argument.description, syntax);
    }
}

} // namespace kv::cli
