#include "domain/SelectionRecord.h"

#include "core/Error.h"
#include "domain/CriterionValueList.h"
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
    return readSelectionLines(textlines::readAll(stream), state);
}

bool readSelectionLines(QStringList lines, SelectionState& state)
{
    if (lines.isEmpty() || lines.first() != selectionrecord::header())
        return false;
    if (lines.size() < 1 + FlagLines)
        throw Error::selection(QStringLiteral("The selection record ends after its first line."));

    // Everything is read into a fresh state first, so a damaged record
    // leaves the current criteria untouched.
    SelectionState read;
    read.rgLogV = switchLine(lines.at(1), QStringLiteral("logic within rows"));
    read.rgLogMezi = switchLine(lines.at(2), QStringLiteral("logic between rows"));
    read.cbPozn = numberLine(lines.at(3), QStringLiteral("note check box")) != 0;
    read.cbEmail = numberLine(lines.at(4), QStringLiteral("e-mail check box")) != 0;
    read.cbWWW = numberLine(lines.at(5), QStringLiteral("web check box")) != 0;
    lines.remove(0, 1 + FlagLines);

    for (SelectionState::Row r : SelectionState::RecordOrder) {
        read.row(r).loadFromLines(takeBlock(lines));
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
