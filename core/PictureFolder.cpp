#include "core/PictureFolder.h"

#include "core/Settings.h"

#include <QFileInfo>

namespace kv
{

QString PictureFolder::displayPath(const QString& folder, const QString& name)
{
    return dataPath(folder + u'/' + name);
}

QString PictureFolder::resolve(const QString& folder, const QString& name)
{
    if (name.trimmed().isEmpty())
        return QString();
    const QString root = QFileInfo(dataPath(folder)).canonicalFilePath();
    if (root.isEmpty())
        return QString();
    // Both sides canonical: "..", doubled slashes and links are resolved
    // before the comparison, so only what really lies below the folder passes.
    const QString file = QFileInfo(displayPath(folder, name)).canonicalFilePath();
    if (file.isEmpty() || !file.startsWith(root + u'/') || !QFileInfo(file).isFile())
        return QString();
    return file;
}

} // namespace kv
