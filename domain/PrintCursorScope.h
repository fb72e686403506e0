#pragma once

#include <QString>

namespace kv
{

class DataModule;

// The print cursor TPrn opened for one print or export run: on TFirma's
// filter, switch and sort (the current set in the list window's order), or
// on filterOverride with filtering on. TFirma does not move. Leaving the
// scope, however it is left, closes TPrn and TOsoby_2.
//
//   PrintCursorScope scope(dm);
//   report.writePdf(...);      // walks dm.printFirms()
class PrintCursorScope
{
public:
    explicit PrintCursorScope(DataModule& dm, const QString& filterOverride = QString());
    ~PrintCursorScope();
    PrintCursorScope(const PrintCursorScope&) = delete;
    PrintCursorScope& operator=(const PrintCursorScope&) = delete;

private:
    DataModule& m_dm;
};

} // namespace kv
