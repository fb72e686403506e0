#pragma once

#include <QImage>
#include <QString>

namespace kv
{

// Reads a picture of the data home (JPEG, PNG, whatever Qt's image readers
// know), telling a missing file apart from one that is not a picture, so
// that a damaged file is reported instead of shown as an empty picture.
class PictureFile
{
public:
    enum class Status { Loaded, Missing, Unreadable };
    // error: on failure, a message naming the file, for the user.
    static Status load(const QString& path, QImage* image, QString* error);
    // A picture the database names, read only from below `folder` of the
    // data home (PictureFolder); anything outside counts as missing.
    static Status load(const QString& folder, const QString& name, QImage* image, QString* error);
};

} // namespace kv
