#include "demo/DemoWords.h"

#include <QSet>

namespace kv
{

QStringList DemoWords::nameWords(const QString& name)
{
    // Cut by hand: splitting by a regular expression is slow for millions
    // of names.
    QStringList words;
    const auto separator = [](QChar c) { return c == u',' || c.isSpace(); };
    const qsizetype n = name.size();
    for (qsizetype start = 0; start < n;) {
        while (start < n && separator(name[start]))
            ++start;
        qsizetype end = start;
        bool hasLetter = false;
        for (; end < n && !separator(name[end]); ++end)
            hasLetter = hasLetter || name[end].isLetterOrNumber();
        const QStringView piece = QStringView(name).mid(start, end - start);
        if (piece.size() >= 2 && hasLetter && !words.contains(piece))
            words << piece.toString();
        start = end;
    }
    return words;
}

QStringList DemoWords::keywords(const QString& line)
{
    static const QSet<QString> filler = {"pro", "nebo", "při",   "jen",  "ale",
                                         "atd", "apod", "všech", "jako", "the"};
    QStringList words;
    QString current;
    auto flush = [&] {
        if (current.size() >= 3 && !filler.contains(current) && !words.contains(current))
            words << current;
        current.clear();
    };
    for (const QChar c : line) {
        if (c.isLetter())
            current += c.toLower();
        else
            flush();
    }
    flush();
    return words;
}

} // namespace kv
