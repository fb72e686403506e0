#include "core/Cp1250.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(Cp1250, DecodesCentralEuropeanBytes)
{
    EXPECT_EQ(Cp1250::decode("\x8A\x9E\xEC\xF8\x80\xA7"), QString::fromUtf8("Šžěř€§"));
    EXPECT_EQ(Cp1250::decode(QByteArray("a\0b", 3)), QString::fromUtf8("a\0b", 3));
}

TEST(Cp1250, EncodesCzechTextByteForByte)
{
    const QString text = QString::fromUtf8("Příliš žluťoučký kůň úpěl ďábelské ódy");
    const QByteArray bytes = Cp1250::encode(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(bytes.left(6), QByteArray("P\xF8\xED\x6Ci\x9A"));
    EXPECT_EQ(Cp1250::decode(bytes), text);
}

TEST(Cp1250, StrictEncodingReportsTheFirstCharacterWithoutForm)
{
    QByteArray out = "untouched";
    qsizetype bad = -1;
    EXPECT_FALSE(Cp1250::encodeStrict(QString::fromUtf8("Peña ñ"), out, &bad));
    EXPECT_EQ(bad, 2);
    EXPECT_EQ(out, "untouched");

    EXPECT_FALSE(Cp1250::encodeStrict(QString::fromUtf8("ok 😀"), out, &bad));
    EXPECT_EQ(bad, 3);

    EXPECT_TRUE(Cp1250::encodeStrict(QString::fromUtf8("Kůň?"), out, &bad));
    EXPECT_EQ(out, QByteArray("K\xF9\xF2?"));
}
