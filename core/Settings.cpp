#include "core/Settings.h"

namespace kv
{

Settings::Settings()
{
    nast.fill(true);
    nastEntries.fill(1);
}

Settings& settings()
{
    static Settings state;
    return state;
}

QString cleanPath(const QString& path)
{
    if (path.size() < 2)
        return path;
    QString p = path;

    // A full stop anywhere means the path ends in a file name: cut back to
    // its directory.
    if (p.contains(u'.')) {
        while (!p.isEmpty() && !p.endsWith(u'\\') && !p.endsWith(u':'))
            p.chop(1);
        if (p.endsWith(u'\\'))
            p.chop(1);
    }
    // "D:Data" names a folder below the drive root.
    const qsizetype colon = p.indexOf(u':');
    if (colon >= 0 && colon != p.size() - 1)
        p.insert(colon + 1, u'\\');

    const auto removeAll = [&p](QStringView pair, qsizetype drop) {
        for (qsizetype i = p.indexOf(pair); i >= 0; i = p.indexOf(pair))
            p.remove(i + drop, 1);
    };
    removeAll(u"\\\\", 0);
    while (p.endsWith(u'\\'))
        p.chop(1);
    removeAll(u"\\ ", 1);
    removeAll(u" \\", 0);
    removeAll(u"\\\\", 0);
    return p;
}

namespace
{

QString foldAscii(const QString& s)
{
    QString out = s;
    for (QChar& c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return out;
}

} // namespace

QString replaceAll(const QString& text, const QString& find, const QString& replacement,
                   bool caseSensitive)
{
    if (find.isEmpty() || text.isEmpty())
        return text;
    // Folding only ASCII letters keeps every index of the folded copy valid
    // in the original text.
    const QString haystack = caseSensitive ? text : foldAscii(text);
    const QString needle = caseSensitive ? find : foldAscii(find);

    QString result;
    qsizetype pos = 0;
    for (qsizetype hit = haystack.indexOf(needle, pos, Qt::CaseSensitive);
         hit >= 0 && pos < text.size(); hit = haystack.indexOf(needle, pos, Qt::CaseSensitive)) {
        result += QStringView(text).mid(pos, hit - pos);
        result += replacement;
        pos = hit + needle.size();
    }
    result += QStringView(text).mid(pos);
    return result;
}

QString dataPath(const QString& relative)
{
    QString home = settings().dataHome;
    while (home.size() > 1 && (home.endsWith(u'/') || home.endsWith(u'\\')))
        home.chop(1);
    QString rel = relative;
    rel.replace(u'\\', u'/');
    while (rel.startsWith(u'/'))
        rel.remove(0, 1);
    if (rel.isEmpty())
        return home;
    if (home.endsWith(u'/'))
        return home + rel;
    return home + u'/' + rel;
}

} // namespace kv
