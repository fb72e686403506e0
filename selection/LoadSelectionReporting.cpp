#include "selection/LoadSelectionReporting.h"

#include "app/core/FileError.h"
#include "app/core/StringTable.h"
#include "selection/SelectionError.h"
#include "selection/SelectionFile.h"
#include "selection/SelectionRecord.h"

namespace kv
{

std::optional<SelectionState> loadSelectionReporting(const QString& file, QTextStream& err)
{
    SelectionState state;
    try {
        if (LoadSelection(file, state))
            return state;
        err << file << ": " << LoadStr(selectionrecord::WrongHeaderTextId)
            << selectionrecord::ProgramName << "\n";
    } catch (const FileError& e) {
        err << e.message() << "\n";
    } catch (const SelectionError& e) {
        err << file << ": " << e.message() << "\n";
    }
    return std::nullopt;
}

} // namespace kv
