// KV2001.ini as a user may hand it over: any bytes, then the program's own
// rewrite on exit, which must read back without an error.

#include "FuzzSupport.h"
#include "core/Config.h"
#include "core/Settings.h"

using namespace kv;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kvfuzz::initApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = kvfuzz::writeInput(data, size, QStringLiteral("KV2001.ini"));
    const QString home = QStringLiteral("/nonexistent-home");
    const ConfigResult first = readConfig(path, home);
    if (first.error)
        return 0;
    const auto nast = settings().nast;
    writeConfig(path, first.mdiMod);
    const ConfigResult second = readConfig(path, home);
    if (second.error)
        kvfuzz::fail("the rewritten configuration does not read back");
    if (second.mdiMod != first.mdiMod)
        kvfuzz::fail("MdiMod changed through a rewrite");
    if (settings().nast != nast)
        kvfuzz::fail("the Nast flags changed through a rewrite");
    return 0;
}
