#pragma once

// The line protocol between a journey test and a second desktop program it
// drives (tests/support/SecondDesk, RemoteDesk): one command per line, its
// fields separated by tabs; one answer line per command, the field "=" and
// the value, or "!" and what went wrong. Tabs, line ends and backslashes
// inside a field are written as \t, \n and \\.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kvtest::desk
{

inline QString escaped(const QString& field)
{
    QString out;
    for (const QChar c : field) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c != u'\r')
            out += c;
    }
    return out;
}

inline QString unescaped(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const QChar next = field[++i];
        out += next == u't' ? QChar(u'\t') : next == u'n' ? QChar(u'\n') : next;
    }
    return out;
}

inline QByteArray line(const QStringList& fields)
{
    QStringList parts;
    for (const QString& f : fields)
        parts << escaped(f);
    return parts.join(u'\t').toUtf8() + '\n';
}

inline QStringList fields(const QByteArray& line)
{
    QStringList out;
    for (const QString& f : QString::fromUtf8(line).split(u'\t'))
        out << unescaped(f);
    return out;
}

} // namespace kvtest::desk
