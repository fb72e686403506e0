#include "demo/DemoWords.h"

#include <QRegularExpression>
#include <QSet>

namespace kv
{

QStringList DemoWords::nameWords(const QString& name)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    QStringList words;
    for (const QString& piece : name.split(separators, Qt::SkipEmptyParts)) {
        if (piece.size() < 2)
            continue;
        bool hasLetter = false;
        for (const QChar c : piece)
            hasLetter = hasLetter || c.isLetterOrNumber();
        if (hasLetter && !words.contains(piece))
            words << piece;
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
