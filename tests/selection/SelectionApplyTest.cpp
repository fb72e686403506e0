#include "selection/SelectionApply.h"
#include "selection/CompanySet.h"
#include "tests/selection/RecordingRunner.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace
{

// The company table: filters it knows answer with a count, others with 0;
// the filter "bad" is rejected as an engine error would be.
class FakeCompanySet : public kv::CompanySet
{
public:
    QString filter() const override { return current; }
    void setFilter(const QString& f) override
    {
        log << QStringLiteral("set ") + f;
        if (f == u"bad")
            throw std::runtime_error("syntax error");
        current = f;
    }
    int recordCount() override { return counts.value(current); }
    void reapplyExclusion() override { log << QStringLiteral("reapply"); }

    QString current = QStringLiteral("((misto_id in(3))) and (not peno in (1017))");
    QHash<QString, int> counts{{current, 40}, {QStringLiteral("(misto_id in(4))"), 12}};
    QStringList log;
};

} // namespace

TEST(ApplySelection, MatchingFilterIsInstalled)
{
    FakeCompanySet set;
    const kv::ApplyResult r = kv::ApplySelection(QStringLiteral("(misto_id in(4))"), set);
    EXPECT_TRUE(r.matched);
    EXPECT_EQ(r.recordCount, 12);
    EXPECT_EQ(set.current, QStringLiteral("(misto_id in(4))"));
    EXPECT_FALSE(set.log.contains(QStringLiteral("reapply")));
}

TEST(ApplySelection, EmptyOrUnmatchedFilterKeepsPreviousSet)
{
    for (const QString& f : {QString(), QStringLiteral("(peno=0)")}) {
        FakeCompanySet set;
        const QString previous = set.current;
        const kv::ApplyResult r = kv::ApplySelection(f, set);
        EXPECT_FALSE(r.matched);
        EXPECT_EQ(r.recordCount, 40);
        EXPECT_EQ(set.current, previous);
        EXPECT_EQ(set.log.last(), QStringLiteral("reapply"));
    }
}

TEST(ApplySelection, RejectedFilterPutsPreviousBackAndPassesTheError)
{
    FakeCompanySet set;
    const QString previous = set.current;
    EXPECT_THROW(kv::ApplySelection(QStringLiteral("bad"), set), std::runtime_error);
    EXPECT_EQ(set.current, previous);
    EXPECT_EQ(set.log.last(), QStringLiteral("reapply"));
}

TEST(CountSelection, CountsRowsOfTheTwoLineStatement)
{
    kvtest::RecordingRunner runner;
    EXPECT_EQ(kv::CountSelection(QString(), runner), std::nullopt);
    EXPECT_TRUE(runner.statements.isEmpty());

    runner.rows[QStringLiteral("select peno from firma where \n(misto_id in(3))")] = {1, 2, 5};
    EXPECT_EQ(kv::CountSelection(QStringLiteral("(misto_id in(3))"), runner), 3);
    EXPECT_EQ(kv::CountSelection(QStringLiteral("(peno=0)"), runner), 0);
}
