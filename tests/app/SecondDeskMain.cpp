// The second desktop program of the two-program journeys
// (tests/support/SecondDesk): the windows as the start-up opens them on the
// data home and server given, driven by commands on standard input
// (tests/support/RemoteDesk).
//
//   kv_second_desk --home DIR --db CONNINFO
#include "tests/support/DeskProtocol.h"
#include "tests/support/JourneyApp.h"
#include "tests/support/RemoteDesk.h"
#include "tests/support/TestHome.h"

#include <QApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <sys/prctl.h>

int main(int argc, char** argv)
{
    // A test that dies must not leave this program running.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const kvtest::IsolatedEnvironment isolated;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString home = args.value(args.indexOf(QStringLiteral("--home")) + 1);
    const QString database = args.value(args.indexOf(QStringLiteral("--db")) + 1);
    try {
        if (!args.contains(QStringLiteral("--home")) || !args.contains(QStringLiteral("--db")))
            throw std::runtime_error("usage: kv_second_desk --home DIR --db CONNINFO");
        kvtest::JourneyApp app(home, database);
        kvtest::RemoteDesk desk(app);
        return desk.serve();
    } catch (const std::exception& e) {
        const QByteArray line =
            kvtest::desk::line({QStringLiteral("!"), QString::fromLocal8Bit(e.what())});
        fwrite(line.constData(), 1, size_t(line.size()), stdout);
        return 2;
    }
}
