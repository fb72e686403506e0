#include "ui/FixedDialog.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace kv
{

void setUpFixedDialog(QDialog* dialog, const char* objectName, Qt::WindowFlags extra, QSize size)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                           Qt::WindowCloseButtonHint | extra);
    dialog->setObjectName(QLatin1String(objectName));
    if (size.isValid())
        dialog->setFixedSize(size);
}

OkCancelButtons makeOkCancel(QDialog* dialog)
{
    OkCancelButtons b;
    b.ok = new QPushButton(dialog);
    b.ok->setObjectName(QStringLiteral("btnOk"));
    b.ok->setDefault(true);
    b.cancel = new QPushButton(dialog);
    b.cancel->setObjectName(QStringLiteral("btnZrusit"));
    QObject::connect(b.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(b.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return b;
}

QHBoxLayout* okCancelRow(const OkCancelButtons& buttons)
{
    auto row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    return row;
}

} // namespace kv
