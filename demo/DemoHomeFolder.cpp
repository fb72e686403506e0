#include "demo/DemoHomeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv
{

QStringList DemoHomeFolder::generatedFiles()
{
    return {QStringLiteral("Dta/KV2001.db"), QStringLiteral("Dta/KV2001.db-journal"),
            QStringLiteral("Dta/KV2001.db.build"), QStringLiteral("Dta/KV2001.db.tmp"),
            QStringLiteral("KV2001.html")};
}

QStringList DemoHomeFolder::generatedFolders()
{
    return {QStringLiteral("Log"), QStringLiteral("RK"), QStringLiteral("Prez")};
}

bool DemoHomeFolder::prepare(const QString& dir, bool force, QString* error)
{
    const QFileInfo info(dir);
    if (info.exists() && !info.isDir()) {
        *error = QStringLiteral("%1 exists and is not a folder.").arg(dir);
        return false;
    }
    QDir home(dir);
    if (info.exists()) {
        const bool empty =
            home.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                .isEmpty();
        if (!empty && !force) {
            *error = QStringLiteral("The folder %1 is not empty; use --force to replace the demo "
                                    "data in it.")
                         .arg(dir);
            return false;
        }
        if (!empty) {
            for (const QString& f : generatedFiles()) {
                const QString path = home.filePath(f);
                if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()) {
                    *error = QStringLiteral("%1 is a folder; remove it first.").arg(path);
                    return false;
                }
                if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
                    QFile::remove(path);
            }
            for (const QString& f : generatedFolders()) {
                const QString path = home.filePath(f);
                const QFileInfo fi(path);
                // A link is removed as a link: its target lies outside the home.
                if (fi.isSymLink() || (fi.exists() && !fi.isDir()))
                    QFile::remove(path);
                else if (fi.isDir())
                    QDir(path).removeRecursively();
                if (QFileInfo(path).exists() || QFileInfo(path).isSymLink()) {
                    *error = QStringLiteral("Cannot remove %1.").arg(path);
                    return false;
                }
            }
        }
    }
    for (const QString& sub : {QStringLiteral("Dta"), QStringLiteral("Log"), QStringLiteral("RK"),
                               QStringLiteral("Prez"), QStringLiteral("Pozn")}) {
        if (!home.mkpath(sub)) {
            *error = QStringLiteral("Cannot create %1.").arg(home.filePath(sub));
            return false;
        }
    }
    return true;
}

} // namespace kv
