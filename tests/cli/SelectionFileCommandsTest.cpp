#include "cli/SelectionFileCommands.h"

#include "core/StringTable.h"
#include "domain/SelectionFile.h"
#include "domain/SelectionState.h"
#include "tests/support/DemoHome.h"
#include "tests/support/TestHome.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

using Row = kv::SelectionState::Row;

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

class SelectionCli : public ::testing::Test
{
protected:
    QString save(const kv::SelectionState& state, const QString& name = QStringLiteral("a.kvv"))
    {
        const QString path = dir.filePath(name);
        kv::saveSelection(state, path);
        return path;
    }
    Outcome run(int (*command)(const QStringList&, QTextStream&, QTextStream&), QStringList args,
                bool withHome = true)
    {
        if (withHome)
            args = QStringList{QStringLiteral("--home"), kvtest::selectionDemoHome()} + args;
        Outcome r;
        QTextStream out(&r.out);
        QTextStream err(&r.err);
        r.code = command(args, out, err);
        out.flush();
        err.flush();
        return r;
    }
    QTemporaryDir dir;
};

TEST_F(SelectionCli, FilterAndCountOfTownAndDistrict)
{
    kv::SelectionState s;
    s.rgLogMezi = 0;
    s.row(Row::Misto).add(QStringLiteral("Praha"), QStringLiteral("2516"));
    s.row(Row::Okres).add(QStringLiteral("Benešov"), QStringLiteral("2"));
    const QString file = save(s);

    const Outcome filter = run(kv::filterCommand, {file});
    EXPECT_EQ(filter.code, 0) << filter.err.toStdString();
    EXPECT_EQ(filter.out, QStringLiteral("(misto_id in(2516)) Or (Okres_id in(2))\n"));

    const Outcome count = run(kv::countCommand, {file});
    EXPECT_EQ(count.code, 0) << count.err.toStdString();
    const int expected = kvtest::demoRowCount(
        QStringLiteral("select peno from firma where misto_id=2516 or okres_id=2"));
    ASSERT_GT(expected, 0);
    EXPECT_EQ(count.out, QString::number(expected) + u'\n');
}

TEST_F(SelectionCli, NameWordsResolveThroughTheIndexTable)
{
    // "s.r.o." is the commonest name word of the demo data.
    const int id =
        kvtest::demoRowCount(QStringLiteral("select id from slnazev where txt='s.r.o.'"));
    ASSERT_EQ(id, 1);
    kv::SelectionState s;
    s.row(Row::Nazev).add(QStringLiteral("s.r.o."), QStringLiteral("1"));
    const Outcome filter = run(kv::filterCommand, {save(s)});
    EXPECT_EQ(filter.code, 0);
    EXPECT_TRUE(filter.out.startsWith(QStringLiteral("(peno in ("))) << filter.out.toStdString();
}

TEST_F(SelectionCli, EmptySelection)
{
    const QString file = save(kv::SelectionState());
    const Outcome filter = run(kv::filterCommand, {file});
    EXPECT_EQ(filter.code, 0);
    EXPECT_TRUE(filter.out.isEmpty());

    const Outcome count = run(kv::countCommand, {file});
    EXPECT_EQ(count.code, 3);
    EXPECT_TRUE(count.out.isEmpty());
    EXPECT_TRUE(count.err.contains(kv::loadStr(196)));
}

TEST_F(SelectionCli, CriteriaMatchingNothingCountZero)
{
    kv::SelectionState s;
    s.row(Row::Ico).add(QStringLiteral("00000001"), QStringLiteral("1"));
    const Outcome count = run(kv::countCommand, {save(s)});
    EXPECT_EQ(count.code, 0);
    EXPECT_EQ(count.out, QStringLiteral("0\n"));
}

TEST_F(SelectionCli, FilesThatAreNoSelection)
{
    kvtest::TestHome files;
    files.write(QStringLiteral("labels.kl"), "[Stitky]\r\nsirka=70\r\n");
    files.write(QStringLiteral("empty.kvv"), "");
    for (const QString& name : {QStringLiteral("labels.kl"), QStringLiteral("empty.kvv")}) {
        const Outcome r = run(kv::filterCommand, {files.file(name)});
        EXPECT_EQ(r.code, 2) << name.toStdString();
        EXPECT_TRUE(r.err.contains(kv::loadStr(233) + QStringLiteral("Kvelta 2001")))
            << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const Outcome missing = run(kv::countCommand, {files.file(QStringLiteral("none.kvv"))});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("none.kvv"))) << missing.err.toStdString();
}

TEST_F(SelectionCli, DamagedRecordAndKeysAreRejected)
{
    kvtest::TestHome files;
    // A header, switches, then a name block announcing two texts but ending early.
    files.write(QStringLiteral("short.kvv"),
                " libovolny* text\xed 58 KV2001\r\n0\r\n1\r\n0\r\n0\r\n0\r\n1\r\n2\r\nAlfa\r\n");
    const Outcome cut = run(kv::filterCommand, {files.file(QStringLiteral("short.kvv"))});
    EXPECT_EQ(cut.code, 2);
    EXPECT_FALSE(cut.err.isEmpty());

    // A key that is not a number must never reach a statement.
    kv::SelectionState s;
    s.row(Row::Misto).add(QStringLiteral("Praha"), QStringLiteral("1) or (1=1"));
    const Outcome key = run(kv::filterCommand, {save(s)});
    EXPECT_EQ(key.code, 2);
    EXPECT_TRUE(key.out.isEmpty());
}

TEST_F(SelectionCli, ArgumentsAndDataHome)
{
    const QString file = save(kv::SelectionState());
    EXPECT_EQ(run(kv::filterCommand, {}).code, 2);
    EXPECT_EQ(run(kv::filterCommand, {file, file}).code, 2);
    EXPECT_EQ(run(kv::countCommand, {file, QStringLiteral("--home")}, false).code, 2);

    kv::SelectionState s;
    s.cbEmail = true;
    kvtest::TestHome noDatabase;
    const Outcome r =
        run(kv::countCommand,
            {QStringLiteral("--home"), noDatabase.path(), save(s, QStringLiteral("e.kvv"))}, false);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("KV2001.db"))) << r.err.toStdString();
}

} // namespace
