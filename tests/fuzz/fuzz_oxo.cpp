// Any file handed to the list-file container reader: container of any mode
// or plain text of any bytes.

#include "FuzzSupport.h"
#include "core/Error.h"
#include "core/ListFile.h"

using namespace kv;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kvfuzz::initApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = kvfuzz::writeInput(data, size, QStringLiteral("input.oxo"));
    QStringList list{QStringLiteral("kept")};
    try {
        loadListFile(list, path);
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::File))
            throw;
        kvfuzz::fail("an existing readable file was reported unreadable");
    }
    // What was read goes back through the writer in both modes: the line
    // count must survive (a character written as a line break would shift
    // every later line), and a second round must change nothing.
    const QString copy = kvfuzz::scratchDir().filePath(QStringLiteral("copy.oxo"));
    for (int mode : {0, 1}) {
        QStringList once;
        saveListFile(list, copy, mode, 0x5A);
        loadListFile(once, copy);
        if (once.size() != list.size())
            kvfuzz::fail("a saved list read back with another number of lines");
        QStringList twice;
        saveListFile(once, copy, mode, 0x5A);
        loadListFile(twice, copy);
        if (twice != once)
            kvfuzz::fail("a list read back differently on the second round");
    }
    return 0;
}
