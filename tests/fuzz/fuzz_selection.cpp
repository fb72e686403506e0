// Selection files (*.kvv) from anywhere: the record straight from a stream
// and the whole file through the container. A file is read, refused as not a
// selection (false) or refused as damaged (Error::selection); the state then
// stays as it was. What was read is written and read back the same.

#include "FuzzSupport.h"
#include "core/Error.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionRecord.h"
#include "domain/SelectionState.h"

#include <QBuffer>

using namespace kv;

namespace
{

SelectionState marked()
{
    SelectionState s;
    s.row(SelectionState::Misto).add(QStringLiteral("Brno"), QStringLiteral("7"));
    s.cbEmail = true;
    return s;
}

// Reads with read(state); returns whether a record was taken.
template <class Read> bool readChecked(Read read)
{
    SelectionState state = marked();
    bool taken = false;
    try {
        taken = read(state);
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::Selection))
            throw;
        taken = false;
    }
    if (!taken) {
        if (!(state == marked()))
            kvfuzz::fail("a refused record changed the state");
        return false;
    }
    for (const CriterionValueList& row : state.rows)
        row.count();

    QBuffer out;
    out.open(QIODevice::ReadWrite);
    writeSelection(state, out);
    out.seek(0);
    SelectionState again;
    if (!readSelection(out, again) || !(again == state))
        kvfuzz::fail("a written record read back differently");
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kvfuzz::initApp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    readChecked([&](SelectionState& state) {
        QBuffer in;
        in.setData(reinterpret_cast<const char*>(data), qsizetype(size));
        in.open(QIODevice::ReadOnly);
        return readSelection(in, state);
    });
    const QString path = kvfuzz::writeInput(data, size, QStringLiteral("input.kvv"));
    readChecked([&](SelectionState& state) {
        try {
            return loadSelection(path, state);
        } catch (const kv::Error& e) {
            if (!e.is(kv::Error::Kind::File))
                throw;
            kvfuzz::fail("an existing selection file was reported unreadable");
        }
    });
    return 0;
}
