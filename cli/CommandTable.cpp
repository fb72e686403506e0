#include "cli/CommandTable.h"

#include "cli/ConfigCommand.h"
#include "cli/DbLoadCommand.h"
#include "cli/ExportCommand.h"
#include "cli/FindCommand.h"
#include "cli/FirmPrintCommand.h"
#include "cli/HomeCommand.h"
#include "cli/ImportMdbCommand.h"
#include "cli/LabelPrintCommand.h"
#include "cli/ListFileCommands.h"
#include "cli/MakeDemoCommand.h"
#include "cli/SelectionFileCommands.h"
#include "cli/ServerSelectionCommands.h"

namespace kv::cli
{

namespace
{

// A new command is one line here plus its file.
const Command kCommands[] = {
    {"oxo-dump", "print the lines of a .ini, .kvv or .kl file", &declareOxoDump, &runOxoDump},
    {"oxo-pack", "write text lines as such a file", &declareOxoPack, &runOxoPack},
    {"make-demo", "generate a demo data home", &declareMakeDemo, &runMakeDemo},
    {"import-mdb", "copy a Jet (.mdb) database into a new SQLite one", &declareImportMdb,
     &runImportMdb},
    {"home", "show or set the data home", &declareHome, &runHome},
    {"config", "where KV2001.ini is and its lines; change a line", &declareConfig, &runConfig},
    {"filter", "the filter a saved selection installs", &declareFilter, &runFilter},
    {"count", "how many firms a saved selection selects", &declareCount, &runCount},
    {"find", "firms whose name, IČO, street or town fit a text", &declareFind, &runFind},
    {"export", "the firms as a delimited text file, CSV or xlsx", &declareExport, &runExport},
    {"print list", "the company list as in the preview, as PDF", &declarePrintList, &runPrintList},
    {"print profiles", "the profiles as in the preview, as PDF", &declarePrintProfiles,
     &runPrintProfiles},
    {"print labels", "address labels with a saved label setting, as PDF", &declarePrintLabels,
     &runPrintLabels},
    {"db load", "copy the data home's directory into a PostgreSQL database", &declareDbLoad,
     &runDbLoad},
    {"selection list", "the selections saved on the PostgreSQL server", &declareSelectionList,
     &runSelectionList},
    {"selection save", "save a selection file on the server under a name", &declareSelectionSave,
     &runSelectionSave},
    {"selection load", "a selection saved on the server, as a selection file",
     &declareSelectionLoad, &runSelectionLoad},
};

} // namespace

std::span<const Command> commands()
{
    return kCommands;
}

} // namespace kv::cli
