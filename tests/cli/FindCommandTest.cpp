// kvelta find: one firm a line, tab-separated, best first; exit code 3 when
// nothing fits; bad arguments refused.
#include "tests/support/DemoHome.h"
#include "tests/support/KveltaRun.h"

#include "domain/QuickFind.h"
#include "engine/Database.h"
#include "engine/QuickFindIndex.h"
#include "engine/Statement.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace
{

struct Firm {
    QString peno, ico, nazev, misto;
    QString line() const { return QStringList{peno, ico, nazev, misto}.join(u'\t'); }
};

class FindCli : public ::testing::Test
{
protected:
    static QString home() { return kvtest::demoHome(300); }
    // A firm with diacritics in its name, as the demo database holds it.
    static Firm firmWithDiacritics()
    {
        kv::engine::Database db(QDir(home()).filePath("Dta/KV2001.db"));
        kv::engine::Statement st(db, "SELECT peno, ico, nazev, misto FROM firma "
                                     "WHERE nazev GLOB '*[ěščřžýáíéůú]*' ORDER BY peno LIMIT 1");
        EXPECT_TRUE(st.step());
        return {st.text(0), st.text(1), st.text(2), st.text(3)};
    }
    static kvtest::KveltaRun find(const QStringList& args)
    {
        return kvtest::runKvelta(QStringList{"find", "--home", home()} + args);
    }
};

TEST_F(FindCli, NameWithoutDiacriticsFindsTheFirmInTabSeparatedLines)
{
    const Firm firm = firmWithDiacritics();
    ASSERT_FALSE(firm.nazev.isEmpty());
    const QString typed = kv::QuickFind::words(firm.nazev).join(u' ');
    ASSERT_NE(typed, firm.nazev.toLower()) << "the name should carry diacritics";
    const kvtest::KveltaRun r = find({typed});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(firm.line())) << r.out.toStdString();
    EXPECT_LE(lines.size(), 50);
    for (const QString& line : lines)
        EXPECT_EQ(line.count(u'\t'), 3) << line.toStdString();
    EXPECT_TRUE(r.out.endsWith(u'\n'));
}

TEST_F(FindCli, IcoFirstAndLimitAndNothingFound)
{
    const Firm firm = firmWithDiacritics();
    kvtest::KveltaRun r = find({firm.ico});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.section(u'\n', 0, 0), firm.line());

    r = find({"a", "--limit", "3"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count(u'\n'), 3);

    r = find({"qqxqzzy"});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.out.isEmpty());

    // The demo database holds its own index: no side file was made for it.
    const QString cache = kv::engine::QuickFindIndex::defaultCacheDir();
    EXPECT_FALSE(QFileInfo::exists(
        kv::engine::QuickFindIndex::sideFilePath(QDir(home()).filePath("Dta/KV2001.db"), cache)));
}

TEST_F(FindCli, BadArgumentsRefused)
{
    for (const QStringList& args : {QStringList{}, QStringList{"x", "--limit"},
                                    QStringList{"x", "--limit", "0"}, QStringList{"x", "--fast"}}) {
        const kvtest::KveltaRun r = find(args);
        EXPECT_EQ(r.code, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage: kvelta find")) << r.err.toStdString();
    }
}

} // namespace
