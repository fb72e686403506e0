// Label files (*.kl) from anywhere: read, applied to the sheet as the label
// window does, its picture computed; what loads saves and loads back the same.

#include "FuzzSupport.h"
#include "core/Error.h"
#include "domain/LabelGeometry.h"
#include "domain/LabelSettings.h"

using namespace kv;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kvfuzz::initApp<QGuiApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = kvfuzz::writeInput(data, size, QStringLiteral("input.kl"));
    LabelSettings settings;
    LabelFile::Status status = LabelFile::Status::Empty;
    try {
        status = LabelFile::load(path, settings);
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::File))
            throw;
        kvfuzz::fail("an existing label file was reported unreadable");
    }

    // An A4 sheet as the window starts with, then the file's fields.
    LabelGeometry sheet;
    sheet.setWidthDocument(210);
    sheet.setLengthDocument(297);
    sheet.applyFields(settings.fields);
    const LabelGeometry::Picture picture = sheet.picture(400, 560, 4);
    if (picture.labels.size() > size_t(sheet.CountHorizontal) * size_t(sheet.CountVertical))
        kvfuzz::fail("more labels in the picture than on the sheet");
    (void)settings.font.toFont();
    (void)settings.font.toColor();

    if (status != LabelFile::Status::Loaded)
        return 0;
    const QString copy = kvfuzz::scratchDir().filePath(QStringLiteral("copy.kl"));
    try {
        LabelFile::save(settings, copy);
    } catch (const kv::Error& e) {
        if (!e.is(kv::Error::Kind::File))
            throw;
        return 0; // a text Windows-1250 cannot hold is refused, not changed
    }
    LabelSettings again;
    if (LabelFile::load(copy, again) != LabelFile::Status::Loaded || !(again == settings))
        kvfuzz::fail("a saved label file read back differently");
    return 0;
}
