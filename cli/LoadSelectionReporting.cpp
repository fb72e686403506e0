#include "cli/LoadSelectionReporting.h"

#include "core/Error.h"
#include "core/StringTable.h"
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
    } catch (const Error& e) {
        if (e.is(Error::Kind::File))
            err << e.message() << "\n";
        else if (e.is(Error::Kind::Selection))
            err << file << ": " << e.message() << "\n";
        else
            throw;
    }
    return std::nullopt;
}

} // namespace kv
