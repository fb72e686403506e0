#pragma once

#include <QMessageBox>
#include <QString>

namespace kvtest
{

// The message box in front (the active modal window), or nullptr.
QMessageBox* boxInFront();

// Clicks a button of the message box in front through the window system;
// text, when given, receives what the box says (its text, then its
// informative text on the next line). Fails the test without a box.
void answerBox(QMessageBox::StandardButton button, QString* text = nullptr);

} // namespace kvtest
