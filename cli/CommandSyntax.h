#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace kv::cli
{

// What one command accepts, declared once: QCommandLineParser parses the
// arguments with it and writes the option list of COMMAND --help, and the
// one-line synopsis of the usage texts is made from it, in declaration order.
class CommandSyntax
{
public:
    enum class Need { Optional, Required, Repeatable };

    struct Argument {
        QString name;
        QString description;
        Need need;
    };

    // The text under the usage line of COMMAND --help.
    void describe(const QString& text) { m_description = text; }
    // A switch, or with valueName an option that takes a value. A name of
    // one letter is written with one dash (-o), the others with two.
    void addOption(const QStringList& names, const QString& description,
                   const QString& valueName = {}, Need need = Need::Optional);
    // A positional argument; Repeatable ones come last.
    void addArgument(const QString& name, const QString& description, Need need = Need::Required);

    const QList<QCommandLineOption>& options() const { return m_options; }
    const QList<Argument>& arguments() const { return m_arguments; }
    bool isRequired(const QCommandLineOption& option) const;
    const QString& description() const { return m_description; }

    // "DIR [--firms N] [--seed S] [--force]"
    QString synopsis() const;
    // The option as it is typed: "-o", "--home".
    static QString spelled(const QString& name);

    // Declares the options and arguments, and -h/--help, on parser.
    void declareOn(QCommandLineParser& parser) const;

private:
    struct Part {
        bool isOption;
        qsizetype index;
    };
    QList<QCommandLineOption> m_options;
    QList<Need> m_optionNeeds;
    QList<Argument> m_arguments;
    QList<Part> m_order;
    QString m_description;
};

} // namespace kv::cli
