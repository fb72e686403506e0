#include "domain/LabelTemplates.h"

#include <QBuffer>
#include <gtest/gtest.h>

using kv::LabelTemplates;

namespace
{

QList<LabelTemplates::Sheet> parse(const QByteArray& xml)
{
    QBuffer buffer;
    buffer.setData("<Glabels-templates>" + xml + "</Glabels-templates>");
    buffer.open(QIODevice::ReadOnly);
    return LabelTemplates::parse(buffer);
}

QByteArray sheet(const char* part, const char* label, const char* layout, const char* size = "A4")
{
    return QByteArray("<Template brand=\"Maker\" part=\"") + part + "\" size=\"" + size +
           "\" _description=\"Address labels\"><Meta category=\"label\"/>" + label +
           "<Markup-margin size=\"5\"/>" + layout + "</Label-rectangle></Template>";
}

const LabelTemplates::Sheet* find(const QList<LabelTemplates::Sheet>& sheets, const char* part)
{
    for (const auto& s : sheets)
        if (s.part == QLatin1String(part))
            return &s;
    return nullptr;
}

} // namespace

TEST(LabelTemplates, LengthsWithAndWithoutUnits)
{
    bool ok = false;
    EXPECT_DOUBLE_EQ(LabelTemplates::toMm("63.5mm", &ok), 63.5);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(LabelTemplates::toMm("72"), 25.4);
    EXPECT_DOUBLE_EQ(LabelTemplates::toMm("36pt"), 12.7);
    EXPECT_DOUBLE_EQ(LabelTemplates::toMm("1in"), 25.4);
    LabelTemplates::toMm("wide", &ok);
    EXPECT_FALSE(ok);
}

TEST(LabelTemplates, SheetsThatDoNotFitOrOverlapAreLeftOut)
{
    const auto sheets = parse(
        sheet("GOOD", "<Label-rectangle id=\"0\" width=\"70mm\" height=\"37mm\">",
              "<Layout nx=\"3\" ny=\"8\" x0=\"0mm\" y0=\"0.5mm\" dx=\"70mm\" dy=\"37mm\"/>") +
        "<Template brand=\"Maker\" part=\"SAME\" equiv=\"GOOD\"/>" +
        sheet("WIDE", "<Label-rectangle id=\"0\" width=\"70mm\" height=\"37mm\">",
              "<Layout nx=\"3\" ny=\"8\" x0=\"1mm\" y0=\"0.5mm\" dx=\"70mm\" dy=\"37mm\"/>") +
        sheet("TALL", "<Label-rectangle id=\"0\" width=\"70mm\" height=\"37mm\">",
              "<Layout nx=\"3\" ny=\"9\" x0=\"0mm\" y0=\"0mm\" dx=\"70mm\" dy=\"37mm\"/>") +
        sheet("OVERLAP", "<Label-rectangle id=\"0\" width=\"180.2\" height=\"132.6\">",
              "<Layout nx=\"3\" ny=\"6\" x0=\"21\" y0=\"23\" dx=\"186.9\" dy=\"132.5\"/>") +
        "<Template brand=\"Maker\" part=\"ALIAS\" equiv=\"OVERLAP\"/>" +
        sheet("LETTER", "<Label-rectangle id=\"0\" width=\"70mm\" height=\"37mm\">",
              "<Layout nx=\"1\" ny=\"1\" x0=\"0mm\" y0=\"0mm\" dx=\"70mm\" dy=\"37mm\"/>",
              "US-Letter") +
        "<Template brand=\"Maker\" part=\"CD\" size=\"A4\"><Label-cd id=\"0\" radius=\"58mm\" "
        "hole=\"20mm\"><Layout nx=\"1\" ny=\"2\" x0=\"10mm\" y0=\"10mm\" dx=\"0\" "
        "dy=\"130mm\"/></Label-cd></Template>" +
        sheet("TWOGRIDS", "<Label-rectangle id=\"0\" width=\"70mm\" height=\"37mm\">",
              "<Layout nx=\"1\" ny=\"1\" x0=\"0mm\" y0=\"0mm\" dx=\"70mm\" dy=\"37mm\"/>"
              "<Layout nx=\"1\" ny=\"1\" x0=\"100mm\" y0=\"100mm\" dx=\"70mm\" dy=\"37mm\"/>"));
    QStringList parts;
    for (const auto& s : sheets)
        parts << s.part;
    EXPECT_EQ(parts, QStringList({"GOOD", "SAME"}));
    EXPECT_EQ(sheets[1].width, 70);
    EXPECT_EQ(sheets[1].ny, 8);
}

TEST(LabelTemplates, FieldsAreTheNearestWholeMillimetres)
{
    LabelTemplates::Sheet s;
    s.width = 63.5;
    s.height = 38.1;
    s.nx = 3;
    s.ny = 7;
    s.x0 = 7.2;
    s.y0 = 15.15;
    s.dx = 66.04;
    s.dy = 38.1;
    ASSERT_TRUE(s.fits());
    // right 210 - 7.2 - 132.08 - 63.5 = 7.22; bottom 297 - 15.15 - 228.6 - 38.1 = 15.15
    EXPECT_EQ(s.fields(), kv::LabelGeometry::Fields({"7", "15", "7", "15", "3", "7", "3", "0"}));
    EXPECT_TRUE(s.title().contains("63.5 x 38.1 mm, 3 x 7"));
}

TEST(LabelTemplates, BuiltInCatalogueHoldsOnlySheetsThatFit)
{
    const auto& sheets = LabelTemplates::builtIn();
    ASSERT_GT(sheets.size(), 50);
    QStringList brands;
    for (const auto& s : sheets) {
        EXPECT_TRUE(s.fits()) << s.title().toStdString();
        if (!brands.contains(s.brand))
            brands << s.brand;
    }
    EXPECT_EQ(brands.size(), 3);
    EXPECT_EQ(find(sheets, "7161"), nullptr) << "its pitch is smaller than its label";
    EXPECT_EQ(find(sheets, "L7161"), nullptr);
    const auto* l7163 = find(sheets, "L7163");
    ASSERT_NE(l7163, nullptr);
    EXPECT_EQ(l7163->nx, 2);
    EXPECT_EQ(l7163->ny, 7);
}
