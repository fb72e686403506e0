// The building blocks of the demo generator whose rules are fixed from
// outside: the IČO check digit and the company numbers.
#include "demo/DemoRandom.h"
#include "demo/Ico.h"
#include "demo/PenoSequence.h"

#include <gtest/gtest.h>

namespace
{

TEST(Ico, CheckDigitFollowsTheMod11Rule)
{
    EXPECT_EQ(kv::Ico::fromBody(694), QStringLiteral("00006947")); // sum 59, remainder 4
    EXPECT_EQ(kv::Ico::fromBody(0), QStringLiteral("00000001"));   // remainder 0 gives 1
    EXPECT_EQ(kv::Ico::fromBody(6), QStringLiteral("00000060"));   // remainder 1 gives 0
    EXPECT_TRUE(kv::Ico::isValid(QStringLiteral("00006947")));
    EXPECT_FALSE(kv::Ico::isValid(QStringLiteral("00006948")));
    EXPECT_FALSE(kv::Ico::isValid(QStringLiteral("0006947")));
    EXPECT_FALSE(kv::Ico::isValid(QStringLiteral("0000694x")));
}

TEST(PenoSequence, AscendsWithGapsAndAlwaysHoldsTheStartFirm)
{
    for (const int n : {1, 2, 3, 10, 1000, 150000}) {
        kv::DemoRandom rng(42);
        kv::PenoSequence seq(n, rng);
        int last = 0, gaps = 0;
        bool shown = false;
        for (int i = 0; i < n; ++i) {
            const int p = seq.next();
            ASSERT_GE(p, 100000);
            ASSERT_GT(p, last);
            gaps += (last != 0 && p > last + 1);
            shown = shown || p == 200219;
            last = p;
        }
        EXPECT_TRUE(shown) << n;
        if (n >= 10) {
            EXPECT_GT(gaps, 0) << n;
        }
    }
}

TEST(DemoRandom, SameSeedSameStreamAndBelowStaysInRange)
{
    kv::DemoRandom a(5), b(5), c(6);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const auto x = a.next();
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_LT(a.below(7), 7u);
        const int r = a.range(-3, 3);
        EXPECT_GE(r, -3);
        EXPECT_LE(r, 3);
    }
}

} // namespace
