#pragma once

// Runs the real executable, optionally under the fault-injection preload
// library (tests/support/FaultShim.cpp), and collects what it says.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace kvtest
{

struct KveltaRun {
    int code = -1;
    bool crashed = false; // ended by a signal
    QString out, err;
};

// A fault for the preload library: calls of kind ("write", "fsync",
// "close") on files below dir fail from the at-th on with error ("ENOSPC",
// "EIO"), or kill the process there when kill is set.
struct Fault {
    QString dir;
    QString call = QStringLiteral("write");
    int at = 1;
    QString error = QStringLiteral("ENOSPC");
    bool kill = false;
};

inline QProcessEnvironment faultEnvironment(const Fault& fault)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
#ifdef KV_SANITIZER_RUNTIME
    // A sanitizer build: its runtime first, as it must be; its interceptors
    // then reach the library's functions as the real ones.
    env.insert(QStringLiteral("LD_PRELOAD"),
               QStringLiteral(KV_SANITIZER_RUNTIME) + u' ' + QStringLiteral(KV_FAULT_SHIM));
#else
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(KV_FAULT_SHIM));
#endif
    env.insert(QStringLiteral("KV_FAULT_DIR"), fault.dir);
    env.insert(QStringLiteral("KV_FAULT_CALL"), fault.call);
    env.insert(QStringLiteral("KV_FAULT_AT"), QString::number(fault.at));
    env.insert(QStringLiteral("KV_FAULT_ERRNO"), fault.error);
    if (fault.kill)
        env.insert(QStringLiteral("KV_FAULT_KILL"), QStringLiteral("1"));
    return env;
}

// Runs the program; its standard output goes to the file `output` when one
// is named (a device, a file below a failing folder) and is then not read.
inline KveltaRun
runKveltaTo(const QString& output, const QStringList& args,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (!output.isEmpty())
        p.setStandardOutputFile(output);
    // KV_KVELTA_UNDER_TEST runs another build (an older one, to see a test fail).
    p.start(qEnvironmentVariable("KV_KVELTA_UNDER_TEST", QStringLiteral(KV_KVELTA_EXE)), args);
    KveltaRun r;
    if (!p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished();
    }
    r.crashed = p.exitStatus() == QProcess::CrashExit;
    r.code = r.crashed ? -1 : p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

inline KveltaRun
runKvelta(const QStringList& args,
          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    return runKveltaTo(QString(), args, env);
}

inline KveltaRun runKvelta(const QStringList& args, const Fault& fault)
{
    return runKvelta(args, faultEnvironment(fault));
}

// Every name in folder, hidden ones too, sorted.
inline QStringList folderNames(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace kvtest
