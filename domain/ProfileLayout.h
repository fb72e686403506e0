#pragma once

// The arithmetic of the company profile, kept apart from the widgets so that
// the rules (which sections show, how high they are, which texts are links,
// what address a click opens) can be checked without a window.

#include "core/Settings.h"

#include <QString>
#include <array>

namespace kv
{

// The eight sections, in their order from the top.
enum ProfilePanel {
    PanLogo,
    PanAdresa,
    PanReklamy,
    PanKontakty,
    PanOsoby,
    PanZatrid,
    PanWebKV,
    PanPozn,
    ProfilePanelCount
};

// What the data says about the current firm, gathered by the window.
struct ProfileContent {
    bool logoLoaded = false;
    int logoHeight = 0;
    bool advertisementExists = false; // a reklamy row whose picture file exists
    bool personsHaveText = false;     // FitContactColumns found any text
    int personCount = 0;
    int industryRows = 0;
    bool noteExists = false;
    int noteLines = 0;
};

struct PanelPlace {
    bool visible = false;
    int top = 0;
    int height = 0;
};

struct ProfileLayout {
    std::array<PanelPlace, ProfilePanelCount> panels;
    int totalHeight = 0;
    const PanelPlace& operator[](ProfilePanel p) const { return panels[size_t(p)]; }
};

// Designed heights of the panels that do not depend on the data.
constexpr int AdresaHeight = 152;
constexpr int KontaktyHeight = 117;
constexpr int LineHeight = 20; // advertisement and web links
constexpr int ZatridHeight = 102;
constexpr int MinPanelWidth = 350;

// 16 per person plus the frame (2 x 8), the heading strip (20) and 24,
// kept between 96 and 136 (more persons scroll inside the grid).
int personsHeight(int persons);
// 16 per line plus 20, at least 96.
int noteHeight(int lines);
// Section panel width for a window client width.
int panelWidth(int clientWidth);

// Decides and stacks the sections for the given display flags.
ProfileLayout layoutPanels(const std::array<bool, NastCount>& nast, const ProfileContent& content);

// The firm's e-mail text is a link when there is an address.
bool emailIsLink(const QString& email);
// The firm's web text is a link when link is "A" and there is an address.
bool webIsLink(const QString& link, const QString& www);
// The address a web text opens: "http://" in front unless it has a scheme.
QString webUrl(const QString& www);
QString mailUrl(const QString& email);
// The firm-detail page of the maker's site for a company number.
QString firmDetailUrl(const QString& prefix, qint64 peno);

// Column widths of the persons grid: a column whose widest text is 0 is
// hidden (width 0), the others take the larger of widest + 10 and the title
// width (title text + 10).
struct ContactColumns {
    std::array<int, 4> widths{};
    bool anyText = false;
    bool visible(int column) const { return widths[size_t(column)] > 0; }
};
ContactColumns fitColumns(const std::array<int, 4>& titleWidths, const std::array<int, 4>& widest);

} // namespace kv
