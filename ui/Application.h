#pragma once

#include <QApplication>
#include <functional>

namespace kv
{

// The program's application object. An exception that escapes an event
// handler is shown to the user in a message box and the program goes on,
// as the general error message of a desktop program should.
class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error message box titled with text 17.
    static void showError(const QString& message);
    // Runs one delivery of an event; an exception it throws is shown with
    // showError and the delivery counts as not handled.
    static bool runGuarded(const std::function<bool()>& deliver);
};

} // namespace kv
