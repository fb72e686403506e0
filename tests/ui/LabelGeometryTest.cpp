#include "domain/LabelGeometry.h"
#include "ui/LabelSheetView.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <tuple>

using kv::LabelGeometry;
using kv::LabelSheetView;

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
    g.setWidthDocument(210);
    g.setLengthDocument(297);
    g.setLeftMargin(10);
    g.setTopMargin(10);
    g.setRightMargin(10);
    g.setBottomMargin(10);
    g.setCountHorizontal(3);
    g.setCountVertical(6);
    g.setSpaceHorizontal(5);
    g.setSpaceVertical(5);
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
    g.setCountHorizontal(2);
    g.setCountVertical(8);
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
    g.setWidthDocument(0);
    auto pic = g.picture(210, 297, 0);
    EXPECT_EQ(pic.scale, 0.f);
    EXPECT_EQ(edges(pic.sheet), Edges(105, 148, 105, 148));
    EXPECT_EQ(edges(pic.printable), Edges(105, 148, 105, 148));
    for (const QRect& r : pic.labels)
        EXPECT_EQ(edges(r), Edges(105, 148, 105, 148));
    g = settingsSheet();
    g.setLengthDocument(0);
    EXPECT_EQ(g.picture(210, 297, 0).scale, 0.f);
}

TEST(LabelGeometry, SettersRefuseEqualAndOutOfRangeValues)
{
    LabelGeometry g = settingsSheet();
    const LabelGeometry before = g;
    EXPECT_FALSE(g.setCountHorizontal(0));
    EXPECT_FALSE(g.setCountHorizontal(-2));
    EXPECT_FALSE(g.setCountVertical(0));
    EXPECT_FALSE(g.setSpaceHorizontal(-1));
    EXPECT_FALSE(g.setSpaceVertical(-0.5f));
    EXPECT_FALSE(g.setLeftMargin(10));
    EXPECT_FALSE(g.setCountVertical(6));
    EXPECT_EQ(g.CountHorizontal, before.CountHorizontal);
    EXPECT_EQ(g.SpaceVertical, before.SpaceVertical);
    EXPECT_EQ(g.SizeWidth, before.SizeWidth);
    EXPECT_EQ(g.SizeLength, before.SizeLength);
    EXPECT_TRUE(g.setSpaceHorizontal(0));
    EXPECT_FLOAT_EQ(g.SizeWidth, 190.f / 3);
}

TEST(LabelGeometry, LabelSizeSetDirectlyStandsUntilTheNextDerivingChange)
{
    LabelGeometry g = settingsSheet();
    EXPECT_TRUE(g.setSizeWidth(20));
    EXPECT_EQ(g.LeftMargin, 10);
    EXPECT_EQ(edges(g.picture(210, 297, 0).labels[6]), Edges(35, 10, 55, 52));
    EXPECT_TRUE(g.setSizeLength(7));
    EXPECT_FLOAT_EQ(g.SizeWidth, 20);
    EXPECT_TRUE(g.setLeftMargin(15));
    EXPECT_FLOAT_EQ(g.SizeWidth, (210.f - 25 - 10) / 3);
    EXPECT_FLOAT_EQ(g.SizeLength, 42);
}

TEST(LabelGeometry, ColumnsRightOfTheControlAreLeftOut)
{
    LabelGeometry g = settingsSheet();
    g.setSizeWidth(100); // the third column would start at 220 in a 210 wide control
    const auto pic = g.picture(210, 297, 0);
    ASSERT_EQ(pic.labels.size(), 12u);
    EXPECT_EQ(edges(pic.labels[6]), Edges(115, 10, 215, 52));
}

TEST(LabelGeometry, MarginsLargerThanTheSheetGiveNegativeLabels)
{
    LabelGeometry g = settingsSheet();
    g.setLeftMargin(300);
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

TEST(LabelSheetView, DefaultsOfTheControl)
{
    LabelSheetView v;
    EXPECT_EQ(v.baseColor(), QColor(Qt::black));
    EXPECT_EQ(v.backgroundColor(), QColor(Qt::black));
    EXPECT_EQ(v.foregroundColor(), QColor(Qt::black));
    EXPECT_EQ(v.margin(), QColor(Qt::black));
    EXPECT_EQ(v.round(), 5);
    EXPECT_EQ(v.leftMargin(), 0);
    EXPECT_EQ(v.widthDocument(), 0);
    EXPECT_EQ(v.sizeLength(), 0);
    EXPECT_EQ(v.countHorizontal(), 1);
    EXPECT_EQ(v.countVertical(), 1);
    EXPECT_EQ(v.spaceHorizontal(), 0);
}

TEST(LabelSheetView, PaintsFrameInsideAndLabelsOverIt)
{
    LabelSheetView v;
    v.resize(230, 297);
    v.setRound(0);
    v.setBaseColor(Qt::white);
    v.setBackgroundColor(QColor(0, 128, 128));
    v.setForegroundColor(Qt::yellow);
    v.setMarginColor(QColor(0, 128, 0));
    v.setWidthDocument(210);
    v.setLengthDocument(297);
    for (auto set : {&LabelSheetView::setLeftMargin, &LabelSheetView::setTopMargin,
                     &LabelSheetView::setRightMargin, &LabelSheetView::setBottomMargin})
        (v.*set)(10);
    v.setCountHorizontal(3);
    v.setCountVertical(6);
    v.setSpaceHorizontal(5);
    v.setSpaceVertical(5);
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

TEST(LabelSheetView, RefusedValuesLeaveThePictureUnchanged)
{
    LabelSheetView v;
    v.resize(210, 297);
    v.setWidthDocument(210);
    v.setLengthDocument(297);
    v.setCountHorizontal(3);
    const float width = v.sizeWidth();
    v.setCountHorizontal(0);
    v.setSpaceVertical(-3);
    EXPECT_EQ(v.countHorizontal(), 3);
    EXPECT_EQ(v.spaceVertical(), 0);
    EXPECT_EQ(v.sizeWidth(), width);
    v.setSizeWidth(12);
    EXPECT_EQ(v.sizeWidth(), 12);
    v.setSpaceHorizontal(1);
    EXPECT_FLOAT_EQ(v.sizeWidth(), (210.f - 2) / 3);
}
