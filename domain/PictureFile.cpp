#include "domain/PictureFile.h"

#include "core/Error.h"
#include "core/PictureFolder.h"

#include <QFileInfo>
#include <QImageReader>

namespace kv
{

PictureFile::Status PictureFile::load(const QString& path, QImage* image, QString* error)
{
    // A directory (a record with an empty file name) is no picture either.
    if (!QFileInfo(path).isFile()) {
        *error = Error::file(path, QStringLiteral("File not found")).message();
        return Status::Missing;
    }
    QImageReader reader(path);
    // The extension may lie (a PNG named .JPG); let the reader look inside.
    reader.setDecideFormatFromContent(true);
    QImage read = reader.read();
    if (read.isNull()) {
        *error = Error::file(path, reader.errorString()).message();
        return Status::Unreadable;
    }
    *image = std::move(read);
    return Status::Loaded;
}

PictureFile::Status PictureFile::load(const QString& folder, const QString& name, QImage* image,
                                      QString* error)
{
    const QString path = PictureFolder::resolve(folder, name);
    if (path.isEmpty()) {
        *error =
            Error::file(PictureFolder::displayPath(folder, name), QStringLiteral("File not found"))
                .message();
        return Status::Missing;
    }
    return load(path, image, error);
}

} // namespace kv
