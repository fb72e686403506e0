// Start-up on a data home that holds only the Jet database: the program
// imports it during the splash and refuses a result that is not a company
// database with text 19 naming the missing tables, leaving no SQLite file.
#include "app/Startup.h"
#include "tests/jetimport/JetSamples.h"
#include "tests/support/DialogClicker.h"
#include "tests/support/TestHome.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

QByteArray sha(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

TEST(StartupJet, JetOnlyHomeIsImportedAndAForeignFileRefused)
{
    QTemporaryDir dir;
    kvtest::TestHome home;
    const QString mdb = home.file("Dta/KV2001.mdb");
    ASSERT_TRUE(QFile::copy(kvtest::jetSample("testIndexCodesV1997.mdb"), mdb));
    const QByteArray before = sha(mdb);
    kv::StartupOptions options;
    options.iniPath = dir.filePath("KV2001.ini");
    options.instanceKey = dir.filePath("instance");
    options.homeOverride = home.path();
    QString text, title;
    kvtest::DialogClicker::clickNext(QDialogButtonBox::Ok, &text, &title);
    EXPECT_EQ(kv::Startup(options).run(), 1);
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("Nelze otevřít databázové tabulky !\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Missing tables: firma, osoby, reklamy")) << text.toStdString();
    EXPECT_EQ(title, QString::fromUtf8("Chyba ...!"));
    EXPECT_EQ(QDir(home.file("Dta")).entryList(QDir::Files | QDir::Hidden),
              QStringList({"KV2001.mdb"}));
    EXPECT_EQ(sha(mdb), before);
    EXPECT_FALSE(QFile::exists(options.iniPath));
}
