// OK of the selection on a company set: what is installed, what is put back.
// The fakes here only; on the data module's company cursor on SQLite and, in
// test_domain_pg, on the server.
#include "domain/SelectionApply.h"
#include "domain/CompanySet.h"
#include "domain/EngineStatementRunner.h"
#include "domain/Exclusion.h"
#include "domain/FirmCursorCompanySet.h"
#include "engine/TableCursor.h"
#include "tests/domain/RecordingRunner.h"
#include "tests/support/CompanyDb.h"
#include "tests/support/ErrorKind.h"
#include "tests/support/TestBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
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

#ifndef KV_TEST_ON_SERVER
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
#endif

namespace
{

// companySet() on the data module: the towns 1 to 3 with firm 3 excluded.
class ApplyOnTheCompanySet : public ::testing::TestWithParam<kvtest::BackendCase>
{
protected:
    void SetUp() override
    {
        build.companySet();
        kvtest::serveCompanyData(build, GetParam());
        build.openDataModule(QStringLiteral("(misto_id in(1,2,3))"));
        exclusion = std::make_unique<kv::Exclusion>(build.dm());
        set = std::make_unique<kv::FirmCursorCompanySet>(build.firms(),
                                                         [this] { exclusion->reapplyExclusion(); });
        for (int p = 1; p <= build.firms().recordCount(); ++p)
            if (build.firms().fieldAt(p, "peno").toInt() == 3)
                build.firms().setPosition(p);
        ASSERT_EQ(build.firms().integer("peno"), 3);
        ASSERT_EQ(exclusion->excludeCurrent(), kv::Exclusion::Result::Excluded);
    }
    QList<qint64> firms()
    {
        QList<qint64> out;
        for (int p = 1; p <= build.firms().recordCount(); ++p)
            out << build.firms().fieldAt(p, "peno").toLongLong();
        std::sort(out.begin(), out.end());
        return out;
    }

    kvtest::CompanyDb build{kvtest::CompanyDb::Where::DataHome};
    std::unique_ptr<kv::Exclusion> exclusion;
    std::unique_ptr<kv::FirmCursorCompanySet> set;
};

TEST_P(ApplyOnTheCompanySet, UnmatchedAndRefusedPutTheSetBackWithItsExclusionAMatchInstalls)
{
    const QString previous = build.firms().filter();
    const QList<qint64> before{1, 2, 4, 5, 200219};
    ASSERT_EQ(firms(), before);

    kv::ApplyResult r = kv::applySelection(QStringLiteral("(misto_id in(99))"), *set);
    EXPECT_FALSE(r.matched);
    EXPECT_EQ(r.recordCount, 5);
    EXPECT_EQ(build.firms().filter(), previous);
    EXPECT_EQ(firms(), before);

    // Refused by the engine: the error passes, the set and its connection
    // stay usable.
    EXPECT_KV_ERROR(kv::applySelection(QStringLiteral("(no_such_field in(1))"), *set), Engine);
    EXPECT_EQ(build.firms().filter(), previous);
    EXPECT_EQ(firms(), before);
    kv::EngineStatementRunner runner(build.dm().db());
    EXPECT_EQ(kv::countSelection(QStringLiteral("(misto_id in(1))"), runner), 3);

    r = kv::applySelection(QStringLiteral("(misto_id in(2,4))"), *set);
    EXPECT_TRUE(r.matched);
    EXPECT_EQ(r.recordCount, 3);
    EXPECT_EQ(firms(), (QList<qint64>{2, 5, 6}));
}

INSTANTIATE_TEST_SUITE_P(Engines, ApplyOnTheCompanySet, ::testing::ValuesIn(kvtest::engineCases()),
                         [](const auto& info) { return kvtest::backendCaseName(info.param); });

} // namespace
