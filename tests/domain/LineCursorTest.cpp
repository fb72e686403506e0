#include "domain/LineCursor.h"

#include "core/ListFile.h"

#include <gtest/gtest.h>

namespace
{

QStringList taken(const QString& text)
{
    kv::LineCursor lines(text);
    QStringList out;
    const qsizetype count = lines.remaining();
    while (lines.remaining() > 0)
        out << lines.next();
    EXPECT_EQ(out.size(), count);
    return out;
}

} // namespace

TEST(LineCursor, SplitsAtEveryLineEndAsTheListFileDoes)
{
    for (const QString& text :
         {QString(), QStringLiteral("a"), QStringLiteral("a\r\nb"), QStringLiteral("a\r\n"),
          QStringLiteral("\r\n\r\n"), QStringLiteral("a\rb\nc\r\n\nd"), QStringLiteral("\r\r\n\n"),
          QStringLiteral("long line \u010d\r\nx\n")}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(taken(text), kv::listfile::split(text));
    }
    kv::LineCursor none(QStringView{});
    EXPECT_EQ(none.remaining(), 0);
    EXPECT_TRUE(none.next().isEmpty());
}

TEST(LineCursor, ShortLinesShareOneStringPerText)
{
    const QString text = QStringLiteral("7\r\n12\r\n7\r\n12\r\n\u010d\r\n\u010d\r\nabc\r\nabc");
    kv::LineCursor lines(text);
    QStringList got;
    while (lines.remaining() > 0)
        got << lines.next();
    ASSERT_EQ(got, QStringList({"7", "12", "7", "12", "\u010d", "\u010d", "abc", "abc"}));
    EXPECT_EQ(got[0].constData(), got[2].constData());
    EXPECT_EQ(got[1].constData(), got[3].constData());
    EXPECT_EQ(got[4].constData(), got[5].constData());
    EXPECT_NE(got[0].constData(), got[1].constData());
}
