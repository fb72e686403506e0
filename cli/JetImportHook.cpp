#include "cli/JetImportHook.h"

#include "jetimport/JetImport.h"

namespace kv
{

DataModule::JetImportHook jetImportHook(DataModule& dm)
{
    return [&dm](const QString& mdbPath, const QString& dbPath, QString* error) {
        jet::JetImport::Options options;
        options.requireCompanySchema = true; // a partial result would block a corrected file
        jet::JetImport import(options);
        import.setProgress([&dm](int done, int total, const QString&, qint64) {
            DataViews& views = dm.views();
            if (!views.hasSplash())
                return;
            if (done == 0)
                views.setProgressRange(total);
            else
                views.stepProgress();
        });
        const bool ok = import.run(mdbPath, dbPath);
        if (!ok && error)
            *error = import.error();
        return ok;
    };
}

} // namespace kv
