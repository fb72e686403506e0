// Logo, advertisement and presentation pictures of a data home: any bytes
// under a picture's name. Reading either gives a picture or reports the file
// as unreadable; the logo is read as a pixmap like the profile window does.

#include "FuzzSupport.h"
#include "domain/PictureFile.h"

#include <QImageReader>
#include <QPixmap>

using namespace kv;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kvfuzz::initApp<QGuiApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = kvfuzz::writeInput(data, size, QStringLiteral("input.jpg"));
    QImage image;
    QString error;
    const PictureFile::Status status = PictureFile::load(path, &image, &error);
    if (status == PictureFile::Status::Missing)
        kvfuzz::fail("an existing picture file was reported missing");
    if (status == PictureFile::Status::Loaded && image.isNull())
        kvfuzz::fail("a loaded picture is empty");
    if (status == PictureFile::Status::Unreadable && error.isEmpty())
        kvfuzz::fail("an unreadable picture without a message");
    QPixmap logo;
    (void)logo.load(path);
    return 0;
}
