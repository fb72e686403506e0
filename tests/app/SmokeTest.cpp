#include <QProcess>
#include <gtest/gtest.h>

TEST(Executable, PrintsVersion)
{
    QProcess p;
    p.start(KV_KVELTA_EXE, {"--version"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(p.readAllStandardOutput().startsWith("kvelta "));
}
