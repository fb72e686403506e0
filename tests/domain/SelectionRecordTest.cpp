#include "domain/SelectionRecord.h"
#include "domain/SelectionState.h"
#include "tests/domain/SelectionFixtures.h"
#include "tests/support/ErrorKind.h"

#include <QBuffer>
#include <gtest/gtest.h>

using kv::SelectionState;

namespace
{

QByteArray write(const SelectionState& s)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    kv::writeSelection(s, buffer);
    return bytes;
}

bool read(QByteArray bytes, SelectionState& s)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return kv::readSelection(buffer, s);
}

const QByteArray Header(" libovolny* text\xEDk 58 KV2001\r\n");
const QByteArray EmptyBlocks = QByteArray("1\r\n0\r\n0\r\n").repeated(7);

} // namespace

TEST(SelectionRecord, EmptyWindowGives27Lines)
{
    const QByteArray bytes = write(SelectionState());
    EXPECT_EQ(bytes, Header + "0\r\n1\r\n0\r\n0\r\n0\r\n" + EmptyBlocks);
    EXPECT_EQ(bytes.count("\r\n"), kv::selectionrecord::EmptyRecordLines);
    EXPECT_EQ(kv::selectionrecord::header(), QStringLiteral(" libovolny* text\u00edk 58 KV2001"));
}

TEST(SelectionRecord, BlocksFollowRecordOrderAndBoxesWrite58)
{
    const QByteArray bytes = write(kvtest::fullSelection());
    const QByteArray expected =
        Header + "1\r\n0\r\n58\r\n0\r\n58\r\n" +
        "0\r\n2\r\nAlfa\r\nBeta\r\n2\r\n5\r\n9\r\n" + // names
        "1\r\n2\r\nStavebnictv\xED\r\nDoprava\r\n2\r\n4521\r\n6024\r\n" +
        "0\r\n2\r\nPraha\r\nPlze\xF2\r\n2\r\n3\r\n17\r\n" + // towns
        "1\r\n1\r\nKladno\r\n1\r\n8\r\n" +                  // districts
        "1\r\n1\r\n00012345\r\n1\r\n200219\r\n" +           // ico
        "1\r\n3\r\nbeton\r\n\x9At\xECrk\r\np\xEDsek\r\n3\r\n21\r\n22\r\n23\r\n" +
        "1\r\n1\r\nN\xE1\x64ra\x9En\xED\r\n1\r\n11\r\n"; // street last
    EXPECT_EQ(bytes, expected);
}

TEST(SelectionRecord, RoundTripRestoresEverything)
{
    SelectionState back;
    ASSERT_TRUE(read(write(kvtest::fullSelection()), back));
    EXPECT_EQ(back, kvtest::fullSelection());

    // The defaults travel as well.
    SelectionState fresh;
    ASSERT_TRUE(read(write(SelectionState()), back));
    EXPECT_EQ(back, fresh);
}

TEST(SelectionRecord, AnyNonZeroNumberTicksABox)
{
    SelectionState s;
    ASSERT_TRUE(read(Header + "0\r\n1\r\n1\r\n58\r\n0\r\n" + EmptyBlocks, s));
    EXPECT_TRUE(s.cbPozn);
    EXPECT_TRUE(s.cbEmail);
    EXPECT_FALSE(s.cbWWW);
}

TEST(SelectionRecord, WrongHeaderIsRefusedAndChangesNothing)
{
    const QByteArray body = "0\r\n1\r\n0\r\n0\r\n0\r\n" + EmptyBlocks;
    for (const QByteArray& head : {QByteArray(" libovolny* text\xEDk 58 kv2001\r\n"),
                                   QByteArray("libovolny* text\xEDk 58 KV2001\r\n"),
                                   QByteArray(" libovolny* text\xC3\xADk 58 KV2001\r\n"),
                                   QByteArray("KV2001;Labels;\r\n"), QByteArray("\r\n")}) {
        SelectionState s = kvtest::fullSelection();
        EXPECT_FALSE(read(head + body, s)) << head.constData();
        EXPECT_EQ(s, kvtest::fullSelection());
    }
    SelectionState s = kvtest::fullSelection();
    EXPECT_FALSE(read(QByteArray(), s));
    EXPECT_EQ(s, kvtest::fullSelection());
}

TEST(SelectionRecord, DamagedRecordsThrowAndChangeNothing)
{
    const QByteArray good = write(kvtest::fullSelection());
    const QByteArray flags = "0\r\n1\r\n0\r\n0\r\n0\r\n";
    const QList<QByteArray> bad{
        good.left(good.indexOf("Praha")),                     // cut inside the towns
        good.left(good.size() - 10),                          // cut in the last block
        Header,                                               // header only
        Header + "0\r\n1\r\n0\r\n",                           // flags cut short
        Header + "0\r\n1\r\nabc\r\n0\r\n0\r\n" + EmptyBlocks, // box not a number
        Header + "2\r\n1\r\n0\r\n0\r\n0\r\n" + EmptyBlocks,   // switch out of range
        Header + flags + "1\r\nabc\r\n0\r\n" + EmptyBlocks,
        Header + flags + "1\r\n10000000\r\n0\r\n" + EmptyBlocks,
        Header + flags + "1\r\n1\r\nPraha\r\n1\r\n3) or (1=1\r\n" + EmptyBlocks, // key
        Header + flags + EmptyBlocks.left(EmptyBlocks.size() - 3),               // one line short
    };
    for (const QByteArray& bytes : bad) {
        SelectionState s = kvtest::fullSelection();
        EXPECT_KV_ERROR(read(bytes, s), Selection) << bytes.right(40).constData();
        EXPECT_EQ(s, kvtest::fullSelection());
    }
}

TEST(SelectionRecord, ReadsFromStreamPositionAndIgnoresTrailingLines)
{
    QByteArray bytes = "junk\r\n" + write(kvtest::fullSelection()) + "extra\r\n";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(6);
    SelectionState s;
    ASSERT_TRUE(kv::readSelection(buffer, s));
    EXPECT_EQ(s, kvtest::fullSelection());
}

TEST(ExtractBlock, MovesOneBlockAndRewinds)
{
    QStringList lines{"0", "2", "A", "B", "2", "1", "2", "1", "0", "0"};
    QBuffer target;
    target.open(QIODevice::ReadWrite);
    target.write("stale content that must go\r\n");
    kv::extractBlock(lines, target);
    EXPECT_EQ(target.pos(), 0);
    EXPECT_EQ(target.data(), QByteArray("0\r\n2\r\nA\r\nB\r\n2\r\n1\r\n2\r\n"));
    EXPECT_EQ(lines, (QStringList{"1", "0", "0"}));
    kv::extractBlock(lines, target);
    EXPECT_EQ(target.data(), QByteArray("1\r\n0\r\n0\r\n"));
    EXPECT_TRUE(lines.isEmpty());
}

TEST(ExtractBlock, ShortOrBadInputThrows)
{
    QBuffer target;
    for (QStringList lines :
         {QStringList{}, QStringList{"1"}, QStringList{"1", "x", "0"},
          QStringList{"1", "2", "A", "B", "2", "1"}, QStringList{"1", "2147483647", "0"}}) {
        const QStringList before = lines;
        EXPECT_KV_ERROR(kv::extractBlock(lines, target), Selection);
        EXPECT_EQ(lines, before);
    }
}
