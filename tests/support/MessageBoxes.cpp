#include "tests/support/MessageBoxes.h"

#include "tests/support/WindowInput.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

namespace kvtest
{

QMessageBox* boxInFront()
{
    return qobject_cast<QMessageBox*>(input::front());
}

void answerBox(QMessageBox::StandardButton button, QString* text)
{
    QMessageBox* box = boxInFront();
    ASSERT_NE(box, nullptr) << "no message box in front";
    if (text) {
        *text = box->text();
        if (!box->informativeText().isEmpty())
            *text += u'\n' + box->informativeText();
    }
    QAbstractButton* b = box->button(button);
    ASSERT_NE(b, nullptr) << "the message box has no such button: " << box->text().toStdString();
    input::click(b);
}

} // namespace kvtest
