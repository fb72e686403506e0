#include "domain/SelectionRecord.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "domain/CriterionValueList.h"
#include "domain/LineCursor.h"
#include "domain/SelectionState.h"
#include "domain/TextLines.h"

#include <QBuffer>

namespace kv
{

namespace
{

constexpr int FlagLines = 5; // rgLogV, rgLogMezi, cbPozn, cbEmail, cbWWW

QString checkBox(bool ticked)
{
    return ticked ? QStringLiteral("58") : QStringLiteral("0");
}

qint64 numberLine(const QString& line, const QString& what)
{
    qint64 value = 0;
    if (!textlines::parseInt(line, &value))
        throw Error::selection(
            QStringLiteral("The %1 \"%2\" is not a whole number.").arg(what, line.left(40)));
    return value;
}

int switchLine(const QString& line, const QString& what)
{
    const qint64 value = numberLine(line, what);
    if (value != 0 && value != 1)
        throw Error::selection(
            QStringLiteral("The %1 must be 0 or 1, not %2.").arg(what).arg(value));
    return int(value);
}

// Keys end up unquoted in statements; a record may come from any file.
void checkKeys(const CriterionValueList& list)
{
    for (const QString& id : list.Ids)
        numberLine(id, QStringLiteral("criterion key"));
}

// One criterion block (flag, count, texts, count, ids) from the front of
// lines: the checks and messages of takeBlock and loadFromLines, in their
// order, without a copy of the block's lines.
void readBlock(LineCursor& lines, CriterionValueList& list)
{
    const qsizetype available = lines.remaining();
    if (available < 2)
        throw Error::selection(QStringLiteral("The selection record ends before its last row."));
    const QString flag = lines.next();
    const qint64 n = textlines::parseCount(lines.next(), QStringLiteral("number of values"));
    if (2 * n + 3 > available)
        throw Error::selection(
            QStringLiteral("The selection record is cut short in a row of %1 values.").arg(n));
    CriterionValueList::checkValueCount(n);
    CriterionValueList read;
    read.IsAnd = flag != u"0";
    read.Texts.reserve(n);
    for (qint64 i = 0; i < n; ++i)
        read.Texts.append(lines.next());
    const qint64 m = textlines::parseCount(lines.next(), QStringLiteral("number of keys"));
    if (m > n)
        throw Error::selection(
            QStringLiteral("The criterion block announces %1 keys but is cut short.").arg(m));
    if (m != n)
        throw Error::selection(QStringLiteral("Index mismatch in txt and id"));
    read.Ids.reserve(n);
    for (qint64 i = 0; i < n; ++i)
        read.Ids.append(lines.next());
    list = std::move(read);
}

} // namespace

QString selectionrecord::header()
{
    return QStringLiteral(" libovolny* text\u00edk 58 KV2001");
}

void writeSelection(const SelectionState& state, QIODevice& stream)
{
    textlines::writeLines(stream, {selectionrecord::header(), QString::number(state.rgLogV),
                                   QString::number(state.rgLogMezi), checkBox(state.cbPozn),
                                   checkBox(state.cbEmail), checkBox(state.cbWWW)});
    for (SelectionState::Row r : SelectionState::RecordOrder)
        state.row(r).saveToStream(stream);
}

bool readSelection(QIODevice& stream, SelectionState& state)
{
    return readSelectionText(Cp1250::decode(stream.readAll()), state);
}

bool readSelectionText(QStringView text, SelectionState& state)
{
    LineCursor lines(text);
    if (lines.remaining() == 0 || lines.next() != selectionrecord::header())
        return false;
    if (lines.remaining() < FlagLines)
        throw Error::selection(QStringLiteral("The selection record ends after its first line."));

    // Everything is read into a fresh state first, so a damaged record
    // leaves the current criteria untouched.
    SelectionState read;
    read.rgLogV = switchLine(lines.next(), QStringLiteral("logic within rows"));
    read.rgLogMezi = switchLine(lines.next(), QStringLiteral("logic between rows"));
    read.cbPozn = numberLine(lines.next(), QStringLiteral("note check box")) != 0;
    read.cbEmail = numberLine(lines.next(), QStringLiteral("e-mail check box")) != 0;
    read.cbWWW = numberLine(lines.next(), QStringLiteral("web check box")) != 0;

    for (SelectionState::Row r : SelectionState::RecordOrder) {
        readBlock(lines, read.row(r));
        checkKeys(read.row(r));
    }
    state = std::move(read);
    return true;
}

void extractBlock(QStringList& remaining, QBuffer& target)
{
    const QStringList block = takeBlock(remaining);
    if (target.isOpen())
        target.close();
    target.setData(QByteArray());
    target.open(QIODevice::ReadWrite);
    textlines::writeLines(target, block);
    target.seek(0);
}

QStringList takeBlock(QStringList& remaining)
{
    if (remaining.size() < 2)
        throw Error::selection(QStringLiteral("The selection record ends before its last row."));
    const qint64 n = textlines::parseCount(remaining.at(1), QStringLiteral("number of values"));
    const qint64 size = 2 * n + 3; // the block's two counts are equal
    if (size > remaining.size())
        throw Error::selection(
            QStringLiteral("The selection record is cut short in a row of %1 values.").arg(n));
    CriterionValueList::checkValueCount(n); // before the row is copied
    QStringList block = remaining.mid(0, size);
    remaining.remove(0, size);
    return block;
}

} // namespace kv
