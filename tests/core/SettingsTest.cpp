#include "core/Settings.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(CleanPath, NormalisesDirectoryPaths)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"D:\\Data\\Firmy\\", "D:\\Data\\Firmy"},
        {"D:\\Data\\firmy.mdb", "D:\\Data"},
        {"D:Data", "D:\\Data"},
        {"D:\\Data \\ Firmy", "D:\\Data\\Firmy"},
        {"D:\\Data.2001", "D:"},
        {"C:\\", "C:"},
        {"D:\\\\Data\\\\\\Firmy", "D:\\Data\\Firmy"},
        {"\\\\server\\share\\", "\\server\\share"},
        {"D:\\Data  \\  Firmy\\\\", "D:\\Data\\Firmy"},
        {"x", "x"},
        {"\\", "\\"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleanPath(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(ReplaceAll, IgnoresOrHonoursCase)
{
    EXPECT_EQ(replaceAll("aXbxc", "x", "-", false), "a-b-c");
    EXPECT_EQ(replaceAll("aXbxc", "x", "-", true), "aXb-c");
}

TEST(ReplaceAll, FoldsOnlyAsciiLetters)
{
    EXPECT_EQ(replaceAll("ČčCc", "č", "-", false), "Č-Cc");
    EXPECT_EQ(replaceAll("Peno IN (1)", "in (", "in(", false), "Peno in(1)");
}

TEST(ReplaceAll, LeftToRightWithoutOverlapOrRescanning)
{
    EXPECT_EQ(replaceAll("aaa", "a", "aa", true), "aaaaaa");
    EXPECT_EQ(replaceAll("aaaaa", "aa", "-", true), "--a");
    EXPECT_EQ(replaceAll("xyx", "x", "", true), "y");
    EXPECT_EQ(replaceAll("abc", "", "-", true), "abc");
    EXPECT_EQ(replaceAll("", "a", "-", true), "");
    EXPECT_EQ(replaceAll("abc", "abcd", "-", true), "abc");
}

TEST(Settings, StartsWithEveryFlagOnAndNoDataHome)
{
    const Settings g;
    for (int i = 0; i < NastCount; ++i) {
        EXPECT_TRUE(g.nast[i]) << i;
        EXPECT_EQ(g.nastEntries[i], 1) << i;
    }
    EXPECT_TRUE(g.dataHome.isEmpty());
    EXPECT_EQ(g.langBase, 0);
}

TEST(DataPath, JoinsBelowTheDataHomeWithSlashes)
{
    const QString saved = settings().dataHome;
    settings().dataHome = "/srv/kv/";
    EXPECT_EQ(dataPath("Dta\\KV2001.mdb"), "/srv/kv/Dta/KV2001.mdb");
    EXPECT_EQ(dataPath("Pozn/12.tx"), "/srv/kv/Pozn/12.tx");
    settings().dataHome = "/srv/kv";
    EXPECT_EQ(dataPath("\\Log"), "/srv/kv/Log");
    EXPECT_EQ(dataPath(""), "/srv/kv");
    settings().dataHome = "/";
    EXPECT_EQ(dataPath("RK"), "/RK");
    settings().dataHome = saved;
}
