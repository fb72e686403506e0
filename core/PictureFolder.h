#pragma once

#include <QString>

namespace kv
{

// Pictures the database names (logos in Log/, advertisements in RK/,
// presentation pages in Prez/) are read only from their own folder of the
// data home: a name such as "../../x.png", or a link whose target lies
// outside the folder, is treated as a missing picture.
class PictureFolder
{
public:
    // The real path of the regular file `name` below the data home's
    // `folder`, or empty text when there is none or it would lie outside.
    static QString resolve(const QString& folder, const QString& name);
    // Where the picture would be, for messages (not checked).
    static QString displayPath(const QString& folder, const QString& name);
};

} // namespace kv
