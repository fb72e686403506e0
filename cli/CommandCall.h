#pragma once

#include "cli/CommandSyntax.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kv::cli
{

struct Command;

// One run of a command: its arguments parsed against its declarations, and
// the streams it writes to. The command's run function reads its options
// here and reports an argument it cannot use through usageError.
class CommandCall
{
public:
    enum class Outcome { Run, Help, Error };

    CommandCall(const Command& command, QTextStream& out, QTextStream& err);

    // The arguments after the command's name. Help wins over any error.
    Outcome parse(const QStringList& args);
    // COMMAND --help: the usage line, the description, options and arguments.
    QString help() const;
    // "usage: kvelta NAME SYNOPSIS"
    QString usage() const;
    // Why the arguments do not fit, after parse returned Error.
    const QString& error() const { return m_error; }

    QString value(const QString& option) const { return m_parser.value(option); }
    QStringList values(const QString& option) const { return m_parser.values(option); }
    bool isSet(const QString& option) const { return m_parser.isSet(option); }
    // Whether the command has that option at all.
    bool declares(const QString& option) const;
    QStringList positional() const { return m_parser.positionalArguments(); }
    QString name() const;
    QTextStream& out() const { return m_out; }
    QTextStream& err() const { return m_err; }

    // Writes "kvelta NAME: problem" and the usage line to err; returns 2.
    int usageError(const QString& problem) const;

private:
    QString parseError(const QStringList& args) const;
    QString countError() const;

    const Command& m_command;
    CommandSyntax m_syntax;
    QCommandLineParser m_parser;
    QString m_error;
    QTextStream& m_out;
    QTextStream& m_err;
};

} // namespace kv::cli
