#pragma once

#include <QString>
#include <QStringList>

namespace kv
{

// How the dictionaries cut texts into entries, the same way an import of
// the real directory does.
class DemoWords
{
public:
    // Words of a firm name: the name split at blanks and commas; pieces of
    // one character or without any letter or digit ("a", "&", "-") are no
    // words. Abbreviations keep their dots ("s.r.o.", "spol.").
    static QStringList nameWords(const QString& name);
    // Keywords of an activity line: runs of letters of at least three
    // characters, lower case, without filler words ("pro", "nebo").
    static QStringList keywords(const QString& line);
};

} // namespace kv
