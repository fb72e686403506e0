#pragma once

#include <QDialogButtonBox>
#include <QString>
#include <functional>

class QWidget;

namespace kvtest
{

// Answers the next modal dialog that opens: polls for the active modal
// widget and hands it to the given action (for example clicking a button),
// so a test can drive code that blocks in exec().
class DialogClicker
{
public:
    // Clicks the standard button of the next QMessageBox (or QDialogButtonBox).
    static void clickNext(QDialogButtonBox::StandardButton button, QString* seenText = nullptr,
                          QString* seenTitle = nullptr);
    // Runs action on the next modal widget.
    static void onNext(std::function<void(QWidget*)> action);
};

} // namespace kvtest
