#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

namespace kvtest
{

// A second desktop program beside the test's own: the executable
// kv_second_desk (tests/app/SecondDeskMain.cpp) in a process of its own,
// with its own HOME and XDG folders, on the same data home and company
// server, its notes written under the author given. The test sends it the
// commands of RemoteDesk and reads its answers.
//
// It never hangs a test: an answer that does not come within the limit, or
// a program that ends on the way, makes fault() say so and every later
// call return at once; the program is then killed. The destructor ends the
// program (closing its input, then killing it after a short grace).
class SecondDesk
{
public:
    SecondDesk(const QString& home, const QString& database, const QString& author);
    ~SecondDesk();
    SecondDesk(const SecondDesk&) = delete;
    SecondDesk& operator=(const SecondDesk&) = delete;

    // Sends a command; its answer, or an empty text when it failed (an
    // answer "!" from the program, no answer, or the program gone): then
    // fault() is set.
    QString ask(const QStringList& command);
    // The same for a wait that asks until the windows are ready: a command
    // the program cannot do yet (no such control) is no fault, only nothing.
    std::optional<QString> peek(const QStringList& command);
    // An action (click, type, key, menu, answer, row); false when it failed.
    bool act(const QStringList& command);

    // Why the program can no longer be driven; empty while it can.
    QString fault() const { return m_fault; }
    // Waits up to ms for the program to end by itself: whether it exited
    // normally with code 0. Sets fault() otherwise.
    bool waitForCleanExit(int ms);

    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    // How long an answer may take (30 s by default; a slow machine with
    // sanitizers needs a few seconds for a window to open).
    void setAnswerLimit(int ms) { m_answerMs = ms; }

private:
    std::optional<QStringList> send(const QStringList& command);
    std::optional<QStringList> readAnswer(const QString& asked);
    void lose(const QString& why);
    QString ending() const;

    QProcess m_process;
    QByteArray m_buffer;
    QString m_fault;
    int m_answerMs = 30000;
};

} // namespace kvtest
