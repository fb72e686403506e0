#pragma once

#include <QString>

namespace kv
{

// The target folder of the demo generator: refuses a folder that already
// holds something, or with force removes exactly the files and folders the
// generator writes again (nothing else, never anything outside the folder).
class DemoHomeFolder
{
public:
    // Makes dir ready for writing. Returns false with a message in *error.
    static bool prepare(const QString& dir, bool force, QString* error);
    // Paths below the data home that the generator (re)writes.
    static QStringList generatedFiles();
    static QStringList generatedFolders();
};

} // namespace kv
