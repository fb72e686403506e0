#include "StringTable.h"

#include "core/Settings.h"

#include <QFile>
#include <QList>
#include <optional>

namespace kv
{

namespace
{

const char* const kResourcePath = ":/strings.tsv";

// Undoes the one-line escaping of a text; nullopt for a dangling or unknown
// escape, which marks the row as damaged rather than guessing its meaning.
std::optional<QString> unescape(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= s.size())
            return std::nullopt;
        switch (s[i].unicode()) {
        case u'r':
            out += u'\r';
            break;
        case u'n':
            out += u'\n';
            break;
        case u't':
            out += u'\t';
            break;
        case u'\\':
            out += u'\\';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

bool isDecimal(QStringView s)
{
    if (s.isEmpty() || s.size() > 9)
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

StringTable::StringTable(const QByteArray& tsv)
{
    QString all = QString::fromUtf8(tsv);
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    const QList<QStringView> lines = QStringView(all).split(u'\n');
    for (QStringView line : lines) {
        // A CR left from an editor's line ending is never part of a text:
        // texts carry their CR escaped.
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab < 0 || !isDecimal(line.left(tab)))
            continue;
        const int id = line.left(tab).toInt();
        if (rows_.contains(id))
            continue;
        std::optional<QString> text = unescape(line.mid(tab + 1));
        if (text)
            rows_.insert(id, *text);
    }
}

const StringTable& StringTable::instance()
{
    static const StringTable table = [] {
        QFile f(QString::fromLatin1(kResourcePath));
        // A missing resource leaves every text empty, like a missing row.
        return StringTable(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }();
    return table;
}

QString StringTable::text(int row) const
{
    return rows_.value(row);
}

QString loadStr(int id)
{
    return loadStr(id, settings().langBase);
}

QString loadStr(int id, int langBase)
{
    return StringTable::instance().text(langBase + id);
}

} // namespace kv
