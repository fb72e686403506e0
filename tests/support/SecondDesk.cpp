#include "tests/support/SecondDesk.h"

#include "tests/support/DeskProtocol.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>

namespace kvtest
{

namespace
{

// Start-up opens the company data and the windows; under sanitizers on a
// busy machine that takes far longer than an answer.
constexpr int StartMs = 120000;

QString shown(const QStringList& command)
{
    return command.join(u' ');
}

} // namespace

SecondDesk::SecondDesk(const QString& home, const QString& database, const QString& author)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Who writes the notes, as the program finds out for a user session.
    env.insert(QStringLiteral("USER"), author);
    env.insert(QStringLiteral("LOGNAME"), author);
    m_process.setProcessEnvironment(env);
    // Its messages (and a sanitizer's report) go to the test's log.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(KV_SECOND_DESK_EXE),
                    {QStringLiteral("--home"), home, QStringLiteral("--db"), database});
    if (!m_process.waitForStarted(StartMs)) {
        lose(QStringLiteral("the second program did not start: ") + m_process.errorString());
        return;
    }
    const int limit = m_answerMs;
    m_answerMs = StartMs;
    const std::optional<QStringList> ready = readAnswer(QStringLiteral("(start)"));
    m_answerMs = limit;
    if (ready && ready->value(1) != QLatin1String("ready"))
        lose(QStringLiteral("the second program did not start: ") + ready->value(1));
}

SecondDesk::~SecondDesk()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel(); // the program ends when its input does
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString SecondDesk::ending() const
{
    if (m_process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("crashed (signal %1)").arg(m_process.exitCode());
    return QStringLiteral("exited with code %1").arg(m_process.exitCode());
}

void SecondDesk::lose(const QString& why)
{
    if (m_fault.isEmpty())
        m_fault = why;
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

std::optional<QStringList> SecondDesk::readAnswer(const QString& asked)
{
    const QDeadlineTimer deadline(m_answerMs);
    for (;;) {
        m_buffer += m_process.readAllStandardOutput();
        if (const qsizetype end = m_buffer.indexOf('\n'); end >= 0) {
            const QStringList answer = desk::fields(m_buffer.left(end));
            m_buffer.remove(0, end + 1);
            return answer;
        }
        if (m_process.state() == QProcess::NotRunning) {
            lose(QStringLiteral("the second program %1 while asked '%2' (its messages are in the "
                                "log above)")
                     .arg(ending(), asked));
            return std::nullopt;
        }
        if (deadline.hasExpired()) {
            lose(QStringLiteral("the second program did not answer '%1' within %2 s (hanging); "
                                "killed it")
                     .arg(asked)
                     .arg(m_answerMs / 1000.0));
            return std::nullopt;
        }
        m_process.waitForReadyRead(int(qBound<qint64>(1, deadline.remainingTime(), 1000LL)));
    }
}

std::optional<QStringList> SecondDesk::send(const QStringList& command)
{
    if (!m_fault.isEmpty())
        return std::nullopt;
    m_process.write(desk::line(command));
    m_process.waitForBytesWritten(1000);
    return readAnswer(shown(command));
}

std::optional<QString> SecondDesk::peek(const QStringList& command)
{
    const std::optional<QStringList> answer = send(command);
    if (!answer || answer->value(0) != QLatin1String("="))
        return std::nullopt;
    return answer->value(1);
}

QString SecondDesk::ask(const QStringList& command)
{
    const std::optional<QStringList> answer = send(command);
    if (!answer)
        return QString();
    if (answer->value(0) != QLatin1String("=")) {
        // A command the program could not do: the journey cannot go on.
        m_fault = QStringLiteral("the second program could not do '%1': %2")
                      .arg(shown(command), answer->value(1));
        return QString();
    }
    return answer->value(1);
}

bool SecondDesk::act(const QStringList& command)
{
    ask(command);
    return m_fault.isEmpty();
}

bool SecondDesk::waitForCleanExit(int ms)
{
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(ms)) {
        lose(QStringLiteral("the second program did not end within %1 s").arg(ms / 1000.0));
        return false;
    }
    if (m_process.exitStatus() != QProcess::NormalExit || m_process.exitCode() != 0) {
        if (m_fault.isEmpty())
            m_fault = QStringLiteral("the second program ") + ending();
        return false;
    }
    return true;
}

} // namespace kvtest
