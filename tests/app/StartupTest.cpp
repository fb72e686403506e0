// Start-up through the real entry points: the configuration error and one
// running instance per user, checked with two real processes.
#include "app/Startup.h"
#include "core/ListFile.h"
#include "core/Settings.h"
#include "tests/support/DemoHome.h"
#include "tests/support/DialogClicker.h"
#include "tests/support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace
{

QProcessEnvironment childEnvironment(const QString& tmp)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TMPDIR", tmp); // the instance socket lives here
    env.insert("KVELTA_TRACE_INSTANCE", "1");
    return env;
}

} // namespace

TEST(Startup, MissingDataHomeShowsConfigurationErrorAndWritesNothing)
{
    QTemporaryDir dir;
    kv::StartupOptions options;
    options.iniPath = dir.filePath("KV2001.ini");
    options.instanceKey = dir.filePath("instance");
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    EXPECT_EQ(kv::Startup(options).run(), 1);
    EXPECT_EQ(text, QString::fromUtf8("Při čtení konfigurace doško k chybě !"));
    EXPECT_EQ(title, QString::fromUtf8("Chyba ...!"));
    EXPECT_FALSE(QFile::exists(options.iniPath));
}

TEST(Startup, BadNastEntryShowsConfigurationError)
{
    QTemporaryDir dir;
    kvtest::TestHome home;
    kv::StartupOptions options;
    options.iniPath = dir.filePath("KV2001.ini");
    options.instanceKey = dir.filePath("instance");
    options.homeOverride = home.path();
    QFile f(options.iniPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Nast=1,x,1,\r\nOther=kept\r\n");
    f.close();
    QString text;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text);
    EXPECT_EQ(kv::Startup(options).run(), 1);
    EXPECT_EQ(text, QString::fromUtf8("Při čtení konfigurace doško k chybě !"));
    QFile again(options.iniPath);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("Nast=1,x,1,\r\nOther=kept\r\n"));
}

TEST(SingleInstance, SecondStartRaisesTheFirstAndEnds)
{
    QTemporaryDir tmp;
    const QStringList args = {"--home", kvtest::demoHome(50), "--config",
                              tmp.filePath("KV2001.ini")};

    QProcess first;
    first.setProcessEnvironment(childEnvironment(tmp.path()));
    first.start(KV_KVELTA_EXE, QStringList(args) << "--minimized");
    ASSERT_TRUE(first.waitForStarted(10000));
    // Wait until the first instance listens.
    for (int i = 0; i < 100 && QDir(tmp.path()).entryList({"Kvelta*"}, QDir::System).isEmpty(); ++i)
        QThread::msleep(50);

    QProcess second;
    second.setProcessEnvironment(childEnvironment(tmp.path()));
    second.start(KV_KVELTA_EXE, args);
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().isEmpty());

    // The first one was restored from its minimised state and keeps running.
    QByteArray trace;
    for (int i = 0; i < 100 && !trace.contains("activated"); ++i) {
        first.waitForReadyRead(100);
        trace += first.readAllStandardError();
    }
    EXPECT_TRUE(trace.contains("activated, minimized=0")) << trace.constData();
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);
}

TEST(Startup, MissingDatabaseShowsText18AndEnds)
{
    QTemporaryDir dir;
    kvtest::TestHome home; // folders but no database
    kv::StartupOptions options;
    options.iniPath = dir.filePath("KV2001.ini");
    options.instanceKey = dir.filePath("instance");
    options.homeOverride = home.path();
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    EXPECT_EQ(kv::Startup(options).run(), 1);
    EXPECT_EQ(text, QString::fromUtf8("Nemohu najít soubory databáze"));
    EXPECT_EQ(title, QString::fromUtf8("Chyba ...!"));
    EXPECT_FALSE(QFile::exists(options.iniPath));
}
