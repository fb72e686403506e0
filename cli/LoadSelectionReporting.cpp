#include "cli/LoadSelectionReporting.h"

#include "core/FileError.h"
#include "core/StringTable.h"
#include "domain/SelectionError.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"

namespace kv
{

std::optional<SelectionState> loadSelectionReporting(const QString& file, QTextStream& err)
{
    SelectionState state;
    try {
        if (loadSelection(file, state))
            return state;
        err << file << ": " << loadStr(selectionrecord::WrongHeaderTextId)
            << selectionrecord::ProgramName << "\n";
    } catch (const FileError& e) {
        err << e.message() << "\n";
    } catch (const SelectionError& e) {
        err << file << ": " << e.message() << "\n";
    }
    return std::nullopt;
}

} // namespace kv
