#include "domain/CriterionValueList.h"
#include "domain/ShowValues.h"
#include "tests/support/ErrorKind.h"

#include <QBuffer>
#include <gtest/gtest.h>

using kv::CriterionValueList;

namespace
{

QByteArray save(const CriterionValueList& list)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    list.saveToStream(buffer);
    return bytes;
}

void load(CriterionValueList& list, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    list.loadFromStream(buffer);
}

CriterionValueList twoTowns()
{
    CriterionValueList list;
    list.add(QStringLiteral("Praha"), QStringLiteral("12"));
    list.add(QStringLiteral("Plze\u0148"), QStringLiteral("7"));
    list.IsAnd = false;
    return list;
}

} // namespace

TEST(CriterionValueList, FreshListIsEmptyAndBlockIsOneZeroZero)
{
    CriterionValueList list;
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.IsAnd);
    EXPECT_EQ(save(list), QByteArray("1\r\n0\r\n0\r\n"));
}

TEST(CriterionValueList, SaveWritesBlockInWindows1250)
{
    EXPECT_EQ(save(twoTowns()), QByteArray("0\r\n2\r\nPraha\r\nPlze\xF2\r\n2\r\n12\r\n7\r\n"));
}

TEST(CriterionValueList, RoundTripKeepsOrderAndFlag)
{
    CriterionValueList back;
    back.add(QStringLiteral("old"), QStringLiteral("1"));
    load(back, save(twoTowns()));
    EXPECT_EQ(back, twoTowns());
    EXPECT_FALSE(back.IsAnd);
}

TEST(CriterionValueList, SaveAppendsAtStreamPosition)
{
    QByteArray bytes("x\r\n");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    buffer.seek(bytes.size());
    CriterionValueList().saveToStream(buffer);
    EXPECT_EQ(bytes, QByteArray("x\r\n1\r\n0\r\n0\r\n"));
}

TEST(CriterionValueList, OnlyZeroMeansOr)
{
    for (const char* flag : {"2", "yes", "", "00"}) {
        CriterionValueList list;
        load(list, QByteArray(flag) + "\r\n1\r\nA\r\n1\r\n5\r\n");
        EXPECT_TRUE(list.IsAnd) << flag;
        EXPECT_EQ(list.count(), 1);
    }
    CriterionValueList list;
    load(list, "0\r\n0\r\n0\r\n");
    EXPECT_FALSE(list.IsAnd);
}

TEST(CriterionValueList, TwoLinesOrFewerGiveEmptyAndList)
{
    for (const char* text : {"", "0", "0\r\n5", "0\r\n5\r\n"}) {
        CriterionValueList list = twoTowns();
        load(list, text);
        EXPECT_EQ(list.count(), 0) << text;
        EXPECT_TRUE(list.IsAnd) << text;
    }
}

TEST(CriterionValueList, LoadAcceptsAnyLineEndAndIgnoresTrailingLines)
{
    CriterionValueList list;
    load(list, "0\n2\rPraha\r\nPlze\xF2\n2\n12\n7\nextra\r\nmore");
    EXPECT_EQ(list, twoTowns());
}

TEST(CriterionValueList, LoadReadsFromCurrentPosition)
{
    QByteArray bytes = "skip\r\n" + save(twoTowns());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(6);
    CriterionValueList list;
    list.loadFromStream(buffer);
    EXPECT_EQ(list, twoTowns());
}

TEST(CriterionValueList, MalformedBlocksThrowAndLeaveListAlone)
{
    const char* bad[] = {
        "1\r\nabc\r\n0\r\n",                // count not a number
        "1\r\n2\r\nA\r\n",                  // fewer texts than announced
        "1\r\n1\r\nA\r\nx\r\n5\r\n",        // id count not a number
        "1\r\n1\r\nA\r\n3\r\n5\r\n",        // fewer ids than announced
        "1\r\n10000000\r\nA\r\n1\r\n5\r\n", // absurd count
        "1\r\n-1\r\n0\r\n",                 // negative count
        "1\r\n2\r\nA\r\nB\r\n1\r\n5\r\n",   // counts differ
        "1\r\n99999999999999999999\r\n0\r\n",
    };
    for (const char* text : bad) {
        CriterionValueList list = twoTowns();
        EXPECT_KV_ERROR(load(list, text), Selection) << text;
        EXPECT_EQ(list, twoTowns()) << text;
    }
}

TEST(CriterionValueList, CountAndAddDetectMismatchedLists)
{
    CriterionValueList list = twoTowns();
    list.Ids.removeLast();
    try {
        list.count();
        FAIL() << "no error";
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Selection);
        EXPECT_STREQ(e.what(), "Index mismatch in txt and id");
    }
    EXPECT_KV_ERROR(list.add(QStringLiteral("Brno"), QStringLiteral("3")), Selection);
    EXPECT_EQ(list.Texts.size(), 2);
    EXPECT_EQ(list.Ids.size(), 1);
}

TEST(CriterionValueList, ClearAssignDelete)
{
    CriterionValueList copy;
    copy.assign(twoTowns());
    EXPECT_EQ(copy, twoTowns());
    EXPECT_FALSE(copy.IsAnd);

    copy.remove(0);
    EXPECT_EQ(copy.Texts, QStringList{QStringLiteral("Plze\u0148")});
    EXPECT_EQ(copy.Ids, QStringList{QStringLiteral("7")});
    EXPECT_KV_ERROR(copy.remove(1), Selection);
    EXPECT_KV_ERROR(copy.remove(-1), Selection);

    copy.clear();
    EXPECT_EQ(copy.count(), 0);
    EXPECT_TRUE(copy.IsAnd);
}

TEST(CriterionValueList, LineBreakInsideTextCannotShiftTheBlock)
{
    CriterionValueList list;
    list.add(QStringLiteral("two\r\nlines"), QStringLiteral("4"));
    CriterionValueList back;
    load(back, save(list));
    EXPECT_EQ(back.count(), 1);
    EXPECT_EQ(back.Ids, QStringList{QStringLiteral("4")});
}

TEST(ShowValues, JoinsWithTheRowMark)
{
    CriterionValueList list = twoTowns();
    EXPECT_EQ(kv::showValues(list), QStringLiteral("Praha | Plze\u0148"));
    list.IsAnd = true;
    EXPECT_EQ(kv::showValues(list), QStringLiteral("Praha & Plze\u0148"));
    EXPECT_EQ(kv::showValues(CriterionValueList()), QString());
}
