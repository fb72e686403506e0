#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QSocketNotifier;
class QWidget;

namespace kvtest
{

class JourneyApp;

// The second desktop program's side of a two-program journey: takes
// commands on standard input, does each with input delivered through the
// window system, and answers on standard output with what the windows show
// (tests/support/DeskProtocol.h). Commands:
//   front                 object name of the window in front
//   focus                 object name of the window that has the keyboard
//   click NAME            clicks the visible control NAME
//   type NAME TEXT        clicks NAME, selects its text and types TEXT
//   key KEY               Return, Escape or Tab to the window with the focus
//   menu ITEM...          the main window's menu bar item, then its items
//   box                   the text of the message box in front
//   answer BUTTON         Yes, No or Ok of the message box in front
//   row TEXT              clicks the list's row that shows TEXT
//   firm                  the text of the list's current row
//   notes                 the profile's note panel (empty when hidden)
//   text NAME             what the control NAME shows (label, edit, box)
// An action is answered once its target is found and delivered after the
// answer, so one that opens a modal window does not hold the answer back;
// the next command is then served inside that window's event loop. An
// action that then fails is the answer ("!") to the next command.
class RemoteDesk : public QObject
{
public:
    explicit RemoteDesk(JourneyApp& app);
    ~RemoteDesk() override;

    // Says "ready" and serves until the main window closes or the input
    // ends; the exit code of the program.
    int serve();

private:
    struct Answer {
        Answer(bool ok, const QString& value, std::function<void()> action = {})
            : ok(ok), value(value), action(std::move(action))
        {
        }
        bool ok;
        QString value;
        std::function<void()> action; // delivered after the answer
    };
    void readInput();
    void serveLine(const QByteArray& line);
    Answer answer(const QStringList& command);
    Answer act(const QString& objectName, std::function<bool(QWidget*)> action);
    void write(bool ok, const QString& value);

    JourneyApp& m_app;
    QSocketNotifier* m_input = nullptr;
    QByteArray m_pending;
    QString m_failed; // told as the answer to the next command
};

} // namespace kvtest
