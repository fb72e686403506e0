#include "ui/FileDialogs.h"

#include <QFileDialog>

namespace kv
{

QString askFileName(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    if (!request.objectName.isEmpty())
        dialog.setObjectName(request.objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog, !request.nativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    dialog.setNameFilters(request.nameFilters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString askOwnFile(QWidget* parent, bool save, const QString& filter, const QString& suffix)
{
    FileDialogRequest request;
    request.save = save;
    request.objectName = save ? QStringLiteral("sd") : QStringLiteral("od");
    request.nameFilters = {filter};
    request.defaultSuffix = suffix;
    return askFileName(parent, request);
}

} // namespace kv
