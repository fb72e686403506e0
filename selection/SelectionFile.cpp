#include "selection/SelectionFile.h"

#include "app/core/FileError.h"
#include "app/core/Oxo.h"
#include "selection/SelectionError.h"
#include "selection/SelectionRecord.h"
#include "selection/TextLines.h"

#include <QBuffer>
#include <QFileInfo>

namespace kv
{

void SaveSelection(const SelectionState& state, const QString& path)
{
    QBuffer record;
    record.open(QIODevice::ReadWrite);
    WriteSelection(state, record);
    record.seek(0);
    OxoSave(textlines::readAll(record), path, selectionfile::Mode, selectionfile::Key);
}

bool LoadSelection(const QString& path, SelectionState& state)
{
    // The container reader treats a missing file as an empty list; here
    // that would read as "not a selection file", which misleads.
    if (!QFileInfo(path).isFile())
        throw FileError(path, QStringLiteral("The file does not exist."));
    const qint64 size = QFileInfo(path).size();
    if (size > selectionfile::MaxBytes)
        throw SelectionError(QStringLiteral("The selection file is too large (%1 bytes; at most "
                                            "%2 bytes are read).")
                                 .arg(size)
                                 .arg(selectionfile::MaxBytes));
    QStringList lines;
    OxoLoad(lines, path);
    return ReadSelectionLines(std::move(lines), state);
}

} // namespace kv
