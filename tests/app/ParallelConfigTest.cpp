// Many runs changing one configuration file at once: each change is kept.
#include "tests/support/KveltaRun.h"

#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

TEST(ParallelConfig, TwentyRunsSettingDifferentKeysKeepEveryKey)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("KV2001.ini");
    ASSERT_EQ(kvtest::runKvelta({"config", "--config", ini, "--set", "Lang=0"}).code, 0);
    std::vector<std::unique_ptr<QProcess>> runs;
    const QString exe = qEnvironmentVariable("KV_KVELTA_UNDER_TEST", QStringLiteral(KV_KVELTA_EXE));
    for (int i = 0; i < 20; ++i) {
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->start(exe, {"config", "--config", ini, "--set",
                                 QStringLiteral("Key%1=%2").arg(i).arg(i * 7)});
    }
    for (int i = 0; i < 20; ++i) {
        QProcess& p = *runs[size_t(i)];
        ASSERT_TRUE(p.waitForFinished(120000)) << i;
        EXPECT_EQ(p.exitCode(), 0) << i << ": " << p.readAllStandardError().toStdString();
    }
    const auto shown = kvtest::runKvelta({"config", "--config", ini});
    ASSERT_EQ(shown.code, 0);
    const QStringList lines = shown.out.split('\n');
    EXPECT_TRUE(lines.contains("Lang=0"));
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(lines.contains(QStringLiteral("Key%1=%2").arg(i).arg(i * 7)))
            << "Key" << i << " was lost";
    EXPECT_EQ(lines.filter("Key").size(), 20);
}
