#include "domain/CriterionValueList.h"

#include "core/Error.h"
#include "domain/TextLines.h"

#include <QIODevice>

namespace kv
{

namespace
{

// A value text is one line of the block; a line break inside it would shift
// every following line of the record.
QString oneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

void CriterionValueList::checkValueCount(qint64 count)
{
    if (count > MaxValues)
        throw Error::selection(
            QStringLiteral("A criterion row holds %1 values; at most %2 are allowed.")
                .arg(count)
                .arg(MaxValues));
}

int CriterionValueList::count() const
{
    if (Texts.size() != Ids.size())
        throw Error::selection(QStringLiteral("Index mismatch in txt and id"));
    return int(Texts.size());
}

void CriterionValueList::clear()
{
    Texts.clear();
    Ids.clear();
    IsAnd = true;
}

void CriterionValueList::add(const QString& text, const QString& id)
{
    count();
    Texts.append(text);
    Ids.append(id);
}

void CriterionValueList::remove(int index)
{
    if (index < 0 || index >= Texts.size() || index >= Ids.size())
        throw Error::selection(QStringLiteral("List index out of bounds (%1)").arg(index));
    Texts.removeAt(index);
    Ids.removeAt(index);
}

void CriterionValueList::assign(const CriterionValueList& source)
{
    Texts = source.Texts;
    Ids = source.Ids;
    IsAnd = source.IsAnd;
}

void CriterionValueList::saveToStream(QIODevice& stream) const
{
    QStringList lines;
    lines << (IsAnd ? QStringLiteral("1") : QStringLiteral("0"));
    lines << QString::number(Texts.size());
    for (const QString& t : Texts)
        lines << oneLine(t);
    lines << QString::number(Ids.size());
    for (const QString& id : Ids)
        lines << oneLine(id);
    textlines::writeLines(stream, lines);
}

void CriterionValueList::loadFromStream(QIODevice& stream)
{
    loadFromLines(textlines::readAll(stream));
}

void CriterionValueList::loadFromLines(const QStringList& lines)
{
    CriterionValueList read;
    if (lines.size() > 2) {
        read.IsAnd = lines.at(0) != u"0";
        // Every count is checked against the lines actually present before
        // anything is copied, so a damaged count cannot run past the end.
        const qsizetype n = textlines::parseCount(lines.at(1), QStringLiteral("number of values"));
        if (n > lines.size() - 3)
            throw Error::selection(
                QStringLiteral("The criterion block announces %1 values but is cut short.").arg(n));
        checkValueCount(n);
        const qsizetype m =
            textlines::parseCount(lines.at(n + 2), QStringLiteral("number of keys"));
        if (m > lines.size() - 3 - n)
            throw Error::selection(
                QStringLiteral("The criterion block announces %1 keys but is cut short.").arg(m));
        if (m != n)
            throw Error::selection(QStringLiteral("Index mismatch in txt and id"));
        read.Texts = lines.mid(2, n);
        read.Ids = lines.mid(n + 3, m);
    }
    *this = std::move(read);
}

} // namespace kv
