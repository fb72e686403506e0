// The profile's section rules without a window: heights, order, links and
// the addresses a click opens.
#include "domain/ProfileLayout.h"

#include <gtest/gtest.h>

namespace
{

std::array<bool, kv::NastCount> allFlags(bool on)
{
    std::array<bool, kv::NastCount> nast;
    nast.fill(on);
    return nast;
}

kv::ProfileContent everything()
{
    kv::ProfileContent c;
    c.logoLoaded = true;
    c.logoHeight = 44;
    c.advertisementExists = true;
    c.personsHaveText = true;
    c.personCount = 2;
    c.industryRows = 3;
    c.noteExists = true;
    c.noteLines = 10;
    return c;
}

} // namespace

TEST(ProfileLayout, PersonsPanelHeightStaysBetween96And136)
{
    EXPECT_EQ(kv::personsHeight(1), 96); // 76 is below the minimum
    EXPECT_EQ(kv::personsHeight(3), 108);
    EXPECT_EQ(kv::personsHeight(4), 124);
    EXPECT_EQ(kv::personsHeight(5), 136);
    EXPECT_EQ(kv::personsHeight(40), 136);
}

TEST(ProfileLayout, NotePanelHeightFollowsTheLines)
{
    EXPECT_EQ(kv::noteHeight(3), 96);
    EXPECT_EQ(kv::noteHeight(5), 100);
    EXPECT_EQ(kv::noteHeight(10), 180);
}

TEST(ProfileLayout, PanelsAreNeverNarrowerThan350)
{
    EXPECT_EQ(kv::panelWidth(200), 350);
    EXPECT_EQ(kv::panelWidth(350), 350);
    EXPECT_EQ(kv::panelWidth(351), 351);
}

TEST(ProfileLayout, AllSectionsStackInOrder)
{
    const kv::ProfileLayout l = kv::layoutPanels(allFlags(true), everything());
    const int tops[] = {0, 60, 212, 232, 349, 445, 547, 567};
    const int heights[] = {60, 152, 20, 117, 96, 102, 20, 180};
    for (int p = 0; p < kv::ProfilePanelCount; ++p) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(l.panels[size_t(p)].visible);
        EXPECT_EQ(l.panels[size_t(p)].top, tops[p]);
        EXPECT_EQ(l.panels[size_t(p)].height, heights[p]);
    }
    EXPECT_EQ(l.totalHeight, 747);
}

TEST(ProfileLayout, OnlyTheWebLinkWhenEveryFlagIsOff)
{
    const kv::ProfileLayout l = kv::layoutPanels(allFlags(false), everything());
    for (int p = 0; p < kv::ProfilePanelCount; ++p)
        EXPECT_EQ(l.panels[size_t(p)].visible, p == kv::PanWebKV) << p;
    EXPECT_EQ(l[kv::PanWebKV].top, 0);
    EXPECT_EQ(l.totalHeight, 20);
}

TEST(ProfileLayout, MissingDataHidesItsSectionAndClosesTheGap)
{
    kv::ProfileContent c = everything();
    c.logoLoaded = false;
    c.advertisementExists = false;
    c.personsHaveText = false;
    c.industryRows = 0;
    c.noteExists = false;
    const kv::ProfileLayout l = kv::layoutPanels(allFlags(true), c);
    EXPECT_FALSE(l[kv::PanLogo].visible);
    EXPECT_FALSE(l[kv::PanReklamy].visible);
    EXPECT_FALSE(l[kv::PanOsoby].visible);
    EXPECT_FALSE(l[kv::PanZatrid].visible);
    EXPECT_FALSE(l[kv::PanPozn].visible);
    EXPECT_EQ(l[kv::PanAdresa].top, 0);
    EXPECT_EQ(l[kv::PanKontakty].top, 152);
    EXPECT_EQ(l[kv::PanWebKV].top, 269);
}

TEST(ProfileLayout, FlagOffHidesSectionEvenWithData)
{
    auto nast = allFlags(true);
    nast[kv::NastOsoby] = false;
    nast[kv::NastPozn] = false;
    const kv::ProfileLayout l = kv::layoutPanels(nast, everything());
    EXPECT_FALSE(l[kv::PanOsoby].visible);
    EXPECT_FALSE(l[kv::PanPozn].visible);
    EXPECT_EQ(l[kv::PanZatrid].top, 349);
}

TEST(ProfileLayout, EmptyFaxColumnIsHiddenOthersKeepTheirWidths)
{
    const kv::ContactColumns c = kv::fitColumns({60, 50, 30, 50}, {120, 40, 0, 90});
    EXPECT_TRUE(c.anyText);
    EXPECT_EQ(c.widths[0], 130);
    EXPECT_EQ(c.widths[1], 50); // the title is wider than the numbers
    EXPECT_FALSE(c.visible(2));
    EXPECT_EQ(c.widths[3], 100);
}

TEST(ProfileLayout, PersonsWithoutAnyTextReportNoContent)
{
    EXPECT_FALSE(kv::fitColumns({60, 50, 30, 50}, {0, 0, 0, 0}).anyText);
}

TEST(ProfileLayout, WebAddressIsLinkOnlyWithLinkA)
{
    EXPECT_TRUE(kv::webIsLink("A", "www.x.cz"));
    EXPECT_FALSE(kv::webIsLink("N", "www.x.cz"));
    EXPECT_FALSE(kv::webIsLink("", "www.x.cz"));
    EXPECT_FALSE(kv::webIsLink("A", ""));
    // The firm's own e-mail does not depend on link.
    EXPECT_TRUE(kv::emailIsLink("a@b.cz"));
    EXPECT_FALSE(kv::emailIsLink(""));
}

TEST(ProfileLayout, WebAddressGetsHttpOnlyWithoutAScheme)
{
    EXPECT_EQ(kv::webUrl("www.kvelta.cz"), "http://www.kvelta.cz");
    EXPECT_EQ(kv::webUrl("http://www.kvelta.cz"), "http://www.kvelta.cz");
    EXPECT_EQ(kv::webUrl("HTTP://www.kvelta.cz"), "HTTP://www.kvelta.cz");
    EXPECT_EQ(kv::webUrl("HTTPS://x"), "HTTPS://x");
    EXPECT_EQ(kv::webUrl("https://x.cz/a"), "https://x.cz/a");
    EXPECT_EQ(kv::webUrl("x.cz/a://b"), "http://x.cz/a://b");
}

TEST(ProfileLayout, MailAndFirmDetailAddresses)
{
    EXPECT_EQ(kv::mailUrl("a@b.cz"), "mailto:a@b.cz");
    EXPECT_EQ(kv::firmDetailUrl("https://h/f.php?peno=", 1017), "https://h/f.php?peno=1017");
}
