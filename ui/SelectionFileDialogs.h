#pragma once

#include <QString>

class QWidget;

namespace kv
{

class SelectionWindow;

// The Load and Save selection commands without their menu wiring.

// Asks for a selection file (*.kvv, filter text 210); empty when cancelled.
// The dialog is Qt's own, so tests can answer it.
QString askSelectionFile(QWidget* parent, bool save);

// Reads path into the selection window and runs OK without showing it. A
// file without the selection header gets message 233 + "Kvelta 2001"; a
// missing or damaged file the general error box. On failure the criteria
// and the company set stay as they were; returns whether it loaded.
bool loadSelectionFile(SelectionWindow& vyber, const QString& path);

// Writes the window's current criteria to path; failures of the file layer
// get the general error box. Returns whether the file was written.
bool saveSelectionFile(SelectionWindow& vyber, const QString& path);

} // namespace kv
