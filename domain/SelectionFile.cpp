#include "domain/SelectionFile.h"

#include "core/Cp1250.h"
#include "core/Error.h"
#include "core/ListFile.h"
#include "domain/SelectionRecord.h"
#include "domain/TextLines.h"

#include <QBuffer>
#include <QFileInfo>

namespace kv
{

void saveSelection(const SelectionState& state, const QString& path)
{
    QBuffer record;
    record.open(QIODevice::ReadWrite);
    writeSelection(state, record);
    record.seek(0);
    saveListFile(textlines::readAll(record), path, selectionfile::Mode, selectionfile::Key);
}

bool loadSelection(const QString& path, SelectionState& state)
{
    // The container reader treats a missing file as an empty list; here
    // that would read as "not a selection file", which misleads.
    if (!QFileInfo(path).isFile())
        throw Error::file(path, QStringLiteral("The file does not exist."));
    const qint64 size = QFileInfo(path).size();
    if (size > selectionfile::MaxBytes)
        throw Error::selection(QStringLiteral("The selection file is too large (%1 bytes; at most "
                                              "%2 bytes are read).")
                                   .arg(size)
                                   .arg(selectionfile::MaxBytes));
    // The file's bytes are dropped once decoded; the record is read from
    // the text line by line.
    QString text;
    {
        QByteArray bytes;
        if (readListFileText(path, bytes))
            text = Cp1250::decode(bytes);
    }
    return readSelectionText(text, state);
}

} // namespace kv
