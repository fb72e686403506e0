#include "core/ListFile.h"
#include "domain/LabelSettings.h"
#include "tests/support/ErrorKind.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::LabelFile;
using kv::LabelFont;
using kv::LabelSettings;

namespace
{

void writePlain(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray plainLines(int count, const QString& header = QStringLiteral("KV2001;Labels;"))
{
    QStringList lines = LabelFile::lines(LabelSettings{});
    lines[0] = header;
    lines[1] = QStringLiteral("7");
    lines[5] = QStringLiteral("2");
    lines[9] = QStringLiteral("Liberation Serif");
    lines[10] = QStringLiteral("238");
    return kv::listfile::render(lines.mid(0, count));
}

} // namespace

TEST(LabelFile, StartValuesAndDefaultFontGiveTheKnownLines)
{
    LabelSettings s;
    s.font = LabelFont::fromFont(QGuiApplication::font());
    const QStringList lines = LabelFile::lines(s);
    ASSERT_EQ(lines.size(), 21);
    EXPECT_EQ(lines[0], "KV2001;Labels;");
    EXPECT_EQ(lines.mid(1, 8), QStringList({"10", "10", "10", "10", "3", "6", "5", "5"}));
    EXPECT_EQ(lines[9], QGuiApplication::font().family());
    EXPECT_EQ(lines[12], QString::number(QGuiApplication::font().pointSize()));
    EXPECT_EQ(lines[13], "0");
    EXPECT_EQ(lines[14], "");
    EXPECT_EQ(lines.mid(15), QStringList({"0", "1", "1", "1", "1", "0"}));
}

TEST(LabelFile, SavedFileIsAKeyedContainerAndLoadsBackExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.kl");
    LabelSettings s;
    s.fields = {"5", "12", "5", "8", "2", "8", "3", "0"};
    s.font.face = QStringLiteral("DejaVu Serif");
    s.font.charset = 238;
    s.font.color = LabelFont::colorNumber(QColor(0x12, 0x34, 0x56));
    s.font.size = 13;
    s.font.setStyle(1 | 4 | 8);
    s.salutation = QStringLiteral("Vážený pane řediteli");
    s.options = {true, false, true, false, true, true};
    LabelFile::save(s, path);

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_GT(bytes.size(), kv::listfile::HeaderSize);
    EXPECT_EQ(char(bytes[0] ^ 0x0E), 'o');
    EXPECT_EQ(bytes[kv::listfile::ModeOffset] ^ 0x0E, 1);
    EXPECT_EQ(bytes[kv::listfile::KeyOffset] ^ 0x0E, 0x0E);
    EXPECT_EQ(char(bytes[kv::listfile::HeaderSize] ^ 0x0E), 'K') << "body scrambled with 0x0E";

    LabelSettings back;
    EXPECT_EQ(LabelFile::load(path, back), LabelFile::Status::Loaded);
    EXPECT_EQ(back, s);
    EXPECT_TRUE(back.font.bold && !back.font.italic && back.font.underline && back.font.strikeOut);
    const QFont qf = back.font.toFont();
    EXPECT_TRUE(qf.bold() && qf.underline() && qf.strikeOut() && !qf.italic());
    EXPECT_EQ(back.font.toColor(), QColor(0x12, 0x34, 0x56));

    // A system colour (negative) survives as the number it is.
    s.font.color = LabelFont::WindowTextColor;
    LabelFile::save(s, path);
    EXPECT_EQ(LabelFile::load(path, back), LabelFile::Status::Loaded);
    EXPECT_EQ(back.font.color, LabelFont::WindowTextColor);
    EXPECT_LT(back.font.color, 0);
}

TEST(LabelFile, PlainTextAndHeaderVariants)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("plain.kl");
    writePlain(path, plainLines(21));
    LabelSettings s;
    EXPECT_EQ(LabelFile::load(path, s), LabelFile::Status::Loaded);
    EXPECT_EQ(s.fields[0], "7");
    EXPECT_EQ(s.font.face, "Liberation Serif");
    EXPECT_EQ(s.font.charset, 238);

    writePlain(path, plainLines(21, "KV2001;Labels;saved elsewhere"));
    EXPECT_EQ(LabelFile::load(path, s), LabelFile::Status::Loaded);

    LabelSettings untouched;
    writePlain(path, plainLines(21, "kv2001;labels;"));
    EXPECT_EQ(LabelFile::load(path, untouched), LabelFile::Status::NoHeader);
    EXPECT_EQ(untouched, LabelSettings{});

    writePlain(path, {});
    EXPECT_EQ(LabelFile::load(path, untouched), LabelFile::Status::Empty);
    EXPECT_EQ(LabelFile::load(dir.filePath("missing.kl"), untouched), LabelFile::Status::Empty);
}

TEST(LabelFile, ShortOrBrokenFileKeepsWhatWasApplied)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("short.kl");
    writePlain(path, plainLines(10));
    LabelSettings s;
    EXPECT_EQ(LabelFile::load(path, s), LabelFile::Status::Damaged);
    EXPECT_EQ(s.fields[0], "7");
    EXPECT_EQ(s.fields[4], "2");
    EXPECT_EQ(s.font.face, "Liberation Serif");
    EXPECT_EQ(s.font.charset, LabelSettings{}.font.charset) << "line 10 was missing";

    QStringList lines = LabelFile::lines(LabelSettings{});
    lines[12] = QStringLiteral("12pt");
    lines[14] = QStringLiteral("Dear");
    writePlain(path, kv::listfile::render(lines));
    LabelSettings t;
    t.font.size = 20;
    EXPECT_EQ(LabelFile::load(path, t), LabelFile::Status::Damaged);
    EXPECT_EQ(t.font.size, 20);
    EXPECT_EQ(t.salutation, "") << "nothing after the broken line";

    lines[12] = QStringLiteral("0"); // no font has no size
    writePlain(path, kv::listfile::render(lines));
    EXPECT_EQ(LabelFile::load(path, t), LabelFile::Status::Damaged);
    lines[12] = QStringLiteral("10");
    lines[10] = QStringLiteral("256");
    writePlain(path, kv::listfile::render(lines));
    EXPECT_EQ(LabelFile::load(path, t), LabelFile::Status::Damaged);
}

TEST(LabelFile, OptionsAreOnOnlyForExactlyOne)
{
    QStringList lines = LabelFile::lines(LabelSettings{});
    lines[15] = QStringLiteral("1 ");
    lines[16] = QStringLiteral("yes");
    lines[17] = QStringLiteral("1");
    LabelSettings s;
    EXPECT_EQ(LabelFile::apply(lines, s), LabelFile::Status::Loaded);
    EXPECT_FALSE(s.options[LabelSettings::Salutation]);
    EXPECT_FALSE(s.options[LabelSettings::Name]);
    EXPECT_TRUE(s.options[LabelSettings::Street]);
}

TEST(LabelFile, TextWithoutAWindows1250FormIsNotSavedAndTheOldFileStays)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.kl");
    LabelSettings s;
    LabelFile::save(s, path);
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    s.salutation = QString::fromUtf8("Dear 😀");
    EXPECT_KV_ERROR(LabelFile::save(s, path), File);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_KV_ERROR(LabelFile::save(LabelSettings{}, dir.filePath("no/such/dir/x.kl")), File);
}
