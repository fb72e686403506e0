#pragma once

#include "domain/DataModule.h"

namespace kv
{

// What the data module runs when a data home holds only the Jet database:
// the import, with its progress on the splash while one is shown, keeping the
// result only when it is complete.
DataModule::JetImportHook jetImportHook(DataModule& dm);

} // namespace kv
