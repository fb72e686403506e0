#include "domain/SelectionApply.h"
#include "domain/CompanySet.h"
#include "tests/domain/RecordingRunner.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace
{

// The company table: filters it knows answer with a count, others with 0;
// the filter "bad" is rejected as an engine error would be.
class FakeCompanySet : public kv::CompanySet
{
public:
    kv::engine::Filter filter() const override { return current; }
    void setFilter(const kv::engine::Filter& filter) override
    {
        const QString f = filter.text();
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
    const kv::ApplyResult r = kv::applySelection(QStringLiteral("(misto_id in(4))"), set);
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
        const kv::ApplyResult r = kv::applySelection(f, set);
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
    EXPECT_THROW(kv::applySelection(QStringLiteral("bad"), set), std::runtime_error);
    EXPECT_EQ(set.current, previous);
    EXPECT_EQ(set.log.last(), QStringLiteral("reapply"));
}

TEST(CountSelection, CountsRowsOfTheTwoLineStatement)
{
    kvtest::RecordingRunner runner;
    EXPECT_EQ(kv::countSelection(QString(), runner), std::nullopt);
    EXPECT_TRUE(runner.statements.isEmpty());

    runner.rows[QStringLiteral("select peno from firma where \n(misto_id in(3))")] = {1, 2, 5};
    EXPECT_EQ(kv::countSelection(QStringLiteral("(misto_id in(3))"), runner), 3);
    EXPECT_EQ(kv::countSelection(QStringLiteral("(peno=0)"), runner), 0);
}
