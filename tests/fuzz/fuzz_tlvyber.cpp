// One criterion block of a selection record, any bytes: it either loads or
// throws SelectionError, and what loads saves and loads back the same.

#include "FuzzSupport.h"
#include "selection/SelectionError.h"
#include "selection/TLVyber.h"

#include <QBuffer>

using namespace kv;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kvfuzz::initApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QBuffer in;
    in.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    in.open(QIODevice::ReadOnly);
    TLVyber list;
    list.Add(QStringLiteral("before"), QStringLiteral("1"));
    const TLVyber before = list;
    try {
        list.LoadFromStream(in);
    } catch (const SelectionError&) {
        if (!(list == before))
            kvfuzz::fail("a refused block changed the list");
        return 0;
    }
    const int count = list.Count(); // throws when texts and keys drifted apart

    QBuffer out;
    out.open(QIODevice::ReadWrite);
    list.SaveToStream(out);
    out.seek(0);
    TLVyber again;
    again.LoadFromStream(out);
    if (again.Count() != count || again.IsAnd != list.IsAnd)
        kvfuzz::fail("a saved block read back with other values");
    if (count > 0 && !(again == list))
        kvfuzz::fail("a saved block read back differently");
    return 0;
}
