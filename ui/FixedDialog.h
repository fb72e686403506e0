#pragma once

#include <QSize>
#include <Qt>

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace kv
{

// What the program's fixed-size dialogs share. The frame: a title bar with a
// close button and no resizing, plus the extra hints given; the object name
// that tests and help find it by; the size, when one is given.
void setUpFixedDialog(QDialog* dialog, const char* objectName, Qt::WindowFlags extra = {},
                      QSize size = {});

// The OK (btnOk, the default button) and Cancel (btnZrusit) pair, wired to
// accept and reject; the dialog lays them out and gives them their texts.
struct OkCancelButtons {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};
OkCancelButtons makeOkCancel(QDialog* dialog);
// The pair at the right end of a row, OK first.
QHBoxLayout* okCancelRow(const OkCancelButtons& buttons);

} // namespace kv
