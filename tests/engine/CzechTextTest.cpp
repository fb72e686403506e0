#include "engine/CzechText.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>

using kv::engine::CzechText;

TEST(CzechText, OrdersLikeACzechReader)
{
    QStringList words{"Ivan",  "Chrudim", "Hrad",   "Dobrá",  "Čech", "Cyril",
                      "cyril", "Zlín",    "Ševčík", "Sadová", "Řeka", "Rak"};
    std::sort(words.begin(), words.end(),
              [](const QString& a, const QString& b) { return CzechText::compare(a, b) < 0; });
    const QStringList expected{"cyril", "Cyril", "Čech", "Dobrá",  "Hrad",   "Chrudim",
                               "Ivan",  "Rak",   "Řeka", "Sadová", "Ševčík", "Zlín"};
    EXPECT_EQ(words, expected);
}

TEST(CzechText, LikeWildcardsIgnoreLetterCase)
{
    EXPECT_TRUE(CzechText::like("Sta*", "Stavby"));
    EXPECT_TRUE(CzechText::like("sta*", "STAVBY"));
    EXPECT_FALSE(CzechText::like("Sta*", "Ostatní"));
    EXPECT_TRUE(CzechText::like("čes*", "České dráhy"));
    EXPECT_TRUE(CzechText::like("ČES*", "česká"));
    EXPECT_FALSE(CzechText::like("čes*", "Ces"));
    EXPECT_TRUE(CzechText::like("*stav*", "Pozemní stavby"));
    EXPECT_TRUE(CzechText::like("*stav*", "stav"));
    EXPECT_TRUE(CzechText::like("?van", "Ivan"));
    EXPECT_FALSE(CzechText::like("?van", "van"));
    EXPECT_TRUE(CzechText::like("a*b*c", "aXXbYYc"));
    EXPECT_FALSE(CzechText::like("a*b*c", "aXXbYYcd"));
    EXPECT_TRUE(CzechText::like("*", ""));
    EXPECT_TRUE(CzechText::like("", ""));
    EXPECT_FALSE(CzechText::like("", "x"));
    // No pattern characters of other dialects.
    EXPECT_FALSE(CzechText::like("Sta%", "Stavby"));
    EXPECT_TRUE(CzechText::like("100%", "100%"));
}
