#include "engine/QuickFindQuery.h"

namespace kv::engine
{

namespace
{

QString quoted(const QString& word)
{
    // QuickFind's words hold only letters and digits; any other text is
    // still one FTS5 string.
    QString inner = word;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

} // namespace

QString QuickFindQuery::expression() const
{
    if (words.isEmpty())
        return QString();
    switch (kind) {
    case Kind::IcoExact:
        return QStringLiteral("{ico} : ") + quoted(words.first());
    case Kind::IcoPrefix:
        return QStringLiteral("{ico} : ") + quoted(words.first()) + u'*';
    case Kind::NameStart: {
        QStringList phrase;
        for (const QString& word : words)
            phrase << quoted(word);
        return QStringLiteral("{nazev} : ^ ") + phrase.join(QStringLiteral(" + ")) + u'*';
    }
    case Kind::NameWords:
    case Kind::AnyWords:
        break;
    }
    QStringList prefixes;
    for (const QString& word : words)
        prefixes << quoted(word) + u'*';
    const QString all = prefixes.join(QStringLiteral(" AND "));
    return kind == Kind::NameWords ? QStringLiteral("{nazev} : (") + all + u')' : all;
}

} // namespace kv::engine
