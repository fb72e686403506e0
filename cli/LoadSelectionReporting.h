#pragma once

#include "domain/SelectionState.h"

#include <QString>
#include <QTextStream>
#include <optional>

namespace kv
{

// Reads a selection file for a headless command: the criteria, or nothing
// after writing why not to err (text 233 for a file without the selection
// header, the file layer's or the record's own message otherwise).
std::optional<SelectionState> loadSelectionReporting(const QString& file, QTextStream& err);

} // namespace kv
