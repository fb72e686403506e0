#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace kv
{

// What one open or save dialog of the program shows.
struct FileDialogRequest {
    bool save = false;         // save: any name, overwriting asks first; open: an existing file
    QString objectName;        // for tests and help; none when empty
    QStringList nameFilters;   // "description (pattern)", the first one chosen
    QString defaultSuffix;     // added to a name typed without one
    QString folder;            // where the dialog starts; empty: the working folder
    bool nativeDialog = false; // the desktop's own dialog instead of Qt's
};

// Asks for a file name the same way for every dialog of the program; the
// chosen path, or an empty one when the user cancels.
QString askFileName(QWidget* parent, const FileDialogRequest& request);

// A file of the program's own kind (a selection, a label file): Qt's dialog,
// named od or sd, with one filter and its suffix.
QString askOwnFile(QWidget* parent, bool save, const QString& filter, const QString& suffix);

} // namespace kv
