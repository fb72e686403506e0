// One criterion block of a selection record, any bytes: it either loads or
// throws Error::selection, and what loads saves and loads back the same.

#include "FuzzSupport.h"
#include "core/Error.h"
#include "domain/CriterionValueList.h"

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
    CriterionValueList list;
    list.add(QStringLiteral("before"), QStringLiteral("1"));
    const CriterionValueList before = list;
    try {
        list.loadFromStream(in);
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::Selection))
            throw;
        if (!(list == before))
            kvfuzz::fail("a refused block changed the list");
        return 0;
    }
    const int count = list.count(); // throws when texts and keys drifted apart

    QBuffer out;
    out.open(QIODevice::ReadWrite);
    list.saveToStream(out);
    out.seek(0);
    CriterionValueList again;
    again.loadFromStream(out);
    if (again.count() != count || again.IsAnd != list.IsAnd)
        kvfuzz::fail("a saved block read back with other values");
    if (count > 0 && !(again == list))
        kvfuzz::fail("a saved block read back differently");
    return 0;
}
