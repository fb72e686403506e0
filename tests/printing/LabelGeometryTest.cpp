#include "printing/LabelGeometry.h"
#include "printing/TPrintLabelView.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <tuple>

using kv::LabelGeometry;
using kv::TPrintLabelView;

namespace
{

using Edges = std::tuple<int, int, int, int>;

// left, top, right, bottom with right and bottom exclusive
Edges edges(const QRect& r)
{
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

// The sheet of the label settings window: A4, margins 10, 3 x 6, gaps 5.
LabelGeometry settingsSheet()
{
    LabelGeometry g;
    g.SetWidthDocument(210);
    g.SetLengthDocument(297);
    g.SetLeftMargin(10);
    g.SetTopMargin(10);
    g.SetRightMargin(10);
    g.SetBottomMargin(10);
    g.SetCountHorizontal(3);
    g.SetCountVertical(6);
    g.SetSpaceHorizontal(5);
    g.SetSpaceVertical(5);
    return g;
}

} // namespace

TEST(LabelGeometry, SettingsSheetDerivesItsLabelSizeAndPicture)
{
    const LabelGeometry g = settingsSheet();
    EXPECT_FLOAT_EQ(g.SizeWidth, 60);
    EXPECT_FLOAT_EQ(g.SizeLength, 42);
    const auto pic = g.picture(210, 297, 0);
    EXPECT_FLOAT_EQ(pic.scale, 1);
    EXPECT_EQ(edges(pic.sheet), Edges(0, 0, 210, 297));
    EXPECT_EQ(edges(pic.printable), Edges(10, 10, 200, 287));
    ASSERT_EQ(pic.labels.size(), 18u);
    // column by column: index = column * rows + row
    EXPECT_EQ(edges(pic.labels[0]), Edges(10, 10, 70, 52));
    EXPECT_EQ(edges(pic.labels[6]), Edges(75, 10, 135, 52));
    EXPECT_EQ(edges(pic.labels[17]), Edges(140, 245, 200, 287));
}

TEST(LabelGeometry, TwoByEightAndTruncatedPixels)
{
    LabelGeometry g = settingsSheet();
    g.SetCountHorizontal(2);
    g.SetCountVertical(8);
    EXPECT_FLOAT_EQ(g.SizeWidth, 92.5f);
    EXPECT_FLOAT_EQ(g.SizeLength, 30.25f);
    const auto pic = g.picture(210, 297, 0);
    // 10 + 92.5 = 102.5 and 10 + 30.25 = 40.25 truncate toward zero.
    EXPECT_EQ(edges(pic.labels[0]), Edges(10, 10, 102, 40));
    EXPECT_EQ(edges(pic.labels[8]), Edges(107, 10, 200, 40));
    EXPECT_EQ(edges(pic.labels[1]), Edges(10, 45, 102, 75));
}

TEST(LabelGeometry, ScaleIsTheSmallerOneStoredAsFloatAndTheSheetIsCentred)
{
    LabelGeometry g = settingsSheet();
    // Twice as wide as needed: the height decides, the sheet sits centred.
    auto pic = g.picture(440, 307, 5);
    EXPECT_EQ(pic.scale, float(297.0 / 297.0));
    EXPECT_EQ(edges(pic.sheet), Edges(115, 5, 325, 302));
    // A scale without an exact float form is used as the float it is stored as.
    pic = g.picture(300, 1000, 0);
    EXPECT_EQ(pic.scale, float(300.0 / 210.0));
    const double s = float(300.0 / 210.0);
    const int y0 = int((1000 - 297 * s) * 0.5);
    EXPECT_EQ(pic.sheet.top(), y0);
    EXPECT_EQ(pic.printable.bottom() + 1, int(y0 + 297 * s - 10 * s));
}

TEST(LabelGeometry, ZeroSheetCollapsesToTheCentre)
{
    LabelGeometry g = settingsSheet();
    g.SetWidthDocument(0);
    auto pic = g.picture(210, 297, 0);
    EXPECT_EQ(pic.scale, 0.f);
    EXPECT_EQ(edges(pic.sheet), Edges(105, 148, 105, 148));
    EXPECT_EQ(edges(pic.printable), Edges(105, 148, 105, 148));
    for (const QRect& r : pic.labels)
        EXPECT_EQ(edges(r), Edges(105, 148, 105, 148));
    g = settingsSheet();
    g.SetLengthDocument(0);
    EXPECT_EQ(g.picture(210, 297, 0).scale, 0.f);
}

TEST(LabelGeometry, SettersRefuseEqualAndOutOfRangeValues)
{
    LabelGeometry g = settingsSheet();
    const LabelGeometry before = g;
    EXPECT_FALSE(g.SetCountHorizontal(0));
    EXPECT_FALSE(g.SetCountHorizontal(-2));
    EXPECT_FALSE(g.SetCountVertical(0));
    EXPECT_FALSE(g.SetSpaceHorizontal(-1));
    EXPECT_FALSE(g.SetSpaceVertical(-0.5f));
    EXPECT_FALSE(g.SetLeftMargin(10));
    EXPECT_FALSE(g.SetCountVertical(6));
    EXPECT_EQ(g.CountHorizontal, before.CountHorizontal);
    EXPECT_EQ(g.SpaceVertical, before.SpaceVertical);
    EXPECT_EQ(g.SizeWidth, before.SizeWidth);
    EXPECT_EQ(g.SizeLength, before.SizeLength);
    EXPECT_TRUE(g.SetSpaceHorizontal(0));
    EXPECT_FLOAT_EQ(g.SizeWidth, 190.f / 3);
}

TEST(LabelGeometry, LabelSizeSetDirectlyStandsUntilTheNextDerivingChange)
{
    LabelGeometry g = settingsSheet();
    EXPECT_TRUE(g.SetSizeWidth(20));
    EXPECT_EQ(g.LeftMargin, 10);
    EXPECT_EQ(edges(g.picture(210, 297, 0).labels[6]), Edges(35, 10, 55, 52));
    EXPECT_TRUE(g.SetSizeLength(7));
    EXPECT_FLOAT_EQ(g.SizeWidth, 20);
    EXPECT_TRUE(g.SetLeftMargin(15));
    EXPECT_FLOAT_EQ(g.SizeWidth, (210.f - 25 - 10) / 3);
    EXPECT_FLOAT_EQ(g.SizeLength, 42);
}

TEST(LabelGeometry, ColumnsRightOfTheControlAreLeftOut)
{
    LabelGeometry g = settingsSheet();
    g.SetSizeWidth(100); // the third column would start at 220 in a 210 wide control
    const auto pic = g.picture(210, 297, 0);
    ASSERT_EQ(pic.labels.size(), 12u);
    EXPECT_EQ(edges(pic.labels[6]), Edges(115, 10, 215, 52));
}

TEST(LabelGeometry, MarginsLargerThanTheSheetGiveNegativeLabels)
{
    LabelGeometry g = settingsSheet();
    g.SetLeftMargin(300);
    EXPECT_LT(g.SizeWidth, 0);
    const auto pic = g.picture(210, 297, 0);
    for (const QRect& r : pic.labels)
        EXPECT_LE(r.right() + 1, r.left() + 0) << "right stays left of left";
}

TEST(LabelGeometry, FieldsStopAtTheFirstTextThatIsNoNumber)
{
    LabelGeometry g = settingsSheet();
    LabelGeometry::Fields f{"12", "", "x1", "20", "4", "0", "7", "7"};
    bool changed = false;
    EXPECT_FALSE(g.applyFields(f, &changed));
    EXPECT_TRUE(changed);
    EXPECT_EQ(g.LeftMargin, 12);
    EXPECT_EQ(g.TopMargin, 10) << "an empty field is skipped";
    EXPECT_EQ(g.BottomMargin, 10) << "fields after the bad one stay";
    f[2] = "10";
    EXPECT_TRUE(g.applyFields(f));
    EXPECT_EQ(g.CountHorizontal, 4);
    EXPECT_EQ(g.CountVertical, 6) << "a count of 0 is refused";
    EXPECT_EQ(g.SpaceVertical, 7);
    f[4] = "100000"; // far beyond any sheet
    EXPECT_FALSE(g.applyFields(f));
    EXPECT_EQ(g.CountHorizontal, 4);
}

TEST(TPrintLabelView, DefaultsOfTheControl)
{
    TPrintLabelView v;
    EXPECT_EQ(v.BaseColor(), QColor(Qt::black));
    EXPECT_EQ(v.BackgroundColor(), QColor(Qt::black));
    EXPECT_EQ(v.ForegroundColor(), QColor(Qt::black));
    EXPECT_EQ(v.Margin(), QColor(Qt::black));
    EXPECT_EQ(v.Round(), 5);
    EXPECT_EQ(v.LeftMargin(), 0);
    EXPECT_EQ(v.WidthDocument(), 0);
    EXPECT_EQ(v.SizeLength(), 0);
    EXPECT_EQ(v.CountHorizontal(), 1);
    EXPECT_EQ(v.CountVertical(), 1);
    EXPECT_EQ(v.SpaceHorizontal(), 0);
}

TEST(TPrintLabelView, PaintsFrameInsideAndLabelsOverIt)
{
    TPrintLabelView v;
    v.resize(230, 297);
    v.SetRound(0);
    v.SetBaseColor(Qt::white);
    v.SetBackgroungColor(QColor(0, 128, 128));
    v.SetForegroundColor(Qt::yellow);
    v.SetMarginColor(QColor(0, 128, 0));
    v.SetWidthDocument(210);
    v.SetLengthDocument(297);
    for (auto set : {&TPrintLabelView::SetLeftMargin, &TPrintLabelView::SetTopMargin,
                     &TPrintLabelView::SetRightMargin, &TPrintLabelView::SetBottomMargin})
        (v.*set)(10);
    v.SetCountHorizontal(3);
    v.SetCountVertical(6);
    v.SetSpaceHorizontal(5);
    v.SetSpaceVertical(5);
    QImage img(v.size(), QImage::Format_RGB32);
    img.fill(Qt::red);
    QPainter p(&img);
    v.render(p);
    p.end();
    EXPECT_FLOAT_EQ(v.scale(), 1);
    // The sheet starts at x0 = 10 in the wider control.
    EXPECT_EQ(img.pixelColor(5, 100), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(10, 5), QColor(0, 128, 128));
    EXPECT_EQ(img.pixelColor(219, 296), QColor(0, 128, 128));
    EXPECT_EQ(img.pixelColor(220, 100), QColor(Qt::white));
    // Frame (20, 10, 210, 287): its pixels lie inside; in a row gap it shows.
    EXPECT_EQ(img.pixelColor(20, 101), QColor(0, 128, 0));
    EXPECT_EQ(img.pixelColor(209, 101), QColor(0, 128, 0));
    EXPECT_EQ(img.pixelColor(210, 101), QColor(0, 128, 128));
    EXPECT_EQ(img.pixelColor(21, 101), QColor(0, 128, 128)) << "the area is not filled";
    EXPECT_EQ(img.pixelColor(82, 10), QColor(0, 128, 0)) << "top edge in a column gap";
    // Labels cover the frame where they touch it.
    EXPECT_EQ(img.pixelColor(20, 10), QColor(Qt::yellow));
    EXPECT_EQ(img.pixelColor(79, 51), QColor(Qt::yellow));
    EXPECT_EQ(img.pixelColor(80, 51), QColor(0, 128, 128));
    EXPECT_EQ(img.pixelColor(209, 286), QColor(Qt::yellow));
}

TEST(TPrintLabelView, RefusedValuesLeaveThePictureUnchanged)
{
    TPrintLabelView v;
    v.resize(210, 297);
    v.SetWidthDocument(210);
    v.SetLengthDocument(297);
    v.SetCountHorizontal(3);
    const float width = v.SizeWidth();
    v.SetCountHorizontal(0);
    v.SetSpaceVertical(-3);
    EXPECT_EQ(v.CountHorizontal(), 3);
    EXPECT_EQ(v.SpaceVertical(), 0);
    EXPECT_EQ(v.SizeWidth(), width);
    v.SetSizeWidth(12);
    EXPECT_EQ(v.SizeWidth(), 12);
    v.SetSpaceHorizontal(1);
    EXPECT_FLOAT_EQ(v.SizeWidth(), (210.f - 2) / 3);
}
