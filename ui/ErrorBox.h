#pragma once

#include "core/Error.h"
#include "core/StringTable.h"

#include <QMessageBox>
#include <exception>

namespace kv
{

// The program's general error message, for failures the selection window
// does not handle itself (a statement the engine rejects, a damaged file):
// the error caption 17 and the failure's own text, and the program goes on.
inline void showErrorBox(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Critical, loadStr(17), message, QMessageBox::Ok, parent);
    box.exec();
}

inline void showErrorBox(QWidget* parent, const std::exception& e)
{
    showErrorBox(parent, QString::fromUtf8(e.what()));
}

// Runs work in a slot or an event handler, which no exception may leave: an
// Error it throws is shown in the error box over parent once work's own
// guards (the busy cursor) have ended. False when that happened.
template <typename Work> bool reportingErrors(QWidget* parent, Work&& work)
{
    try {
        work();
        return true;
    } catch (const Error& e) {
        showErrorBox(parent, e.message());
        return false;
    }
}

} // namespace kv
