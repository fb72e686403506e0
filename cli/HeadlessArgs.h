#pragma once

#include <QHash>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace kv
{

// The arguments every headless command on a data home shares:
// [--home DIR] [FILE.kvv] [--OPTION VALUE ...] -o OUT. Without --home the
// data home of the running program, else the one in the settings.
struct HeadlessArgs {
    QString home;
    QString selection;
    QString output;
    QHash<QString, QString> options; // "--items" -> "tel,fax"; the last one given wins

    // command names the command in messages ("export", "print list");
    // valueOptions are the further options that take a value. Writes why
    // not, then usage, to err when the arguments do not fit.
    static std::optional<HeadlessArgs> parse(const QString& command, const QStringList& args,
                                             const QStringList& valueOptions, const QString& usage,
                                             QTextStream& err);
};

} // namespace kv
