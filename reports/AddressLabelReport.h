#pragma once

#include "domain/LabelSettings.h"
#include "reports/LabelComposer.h"
#include "reports/Report.h"

#include <QStringList>
#include <functional>

namespace kv
{

class ReportDataSource;

// The address label report: one label per firm of the data, flowing down a
// column and on to the next, each composed at run time into eight lines. No
// widgets: the settings window configures it and previews it, and the
// headless command prints it.
//
//   AddressLabelReport labels(source, prepare);
//   labels.setMargins(10, 10, 10, 5);
//   labels.layout(3, 6, 60, 42, 5, 5);
//   labels.report().generate();
class AddressLabelReport
{
public:
    static constexpr qreal LineHeight = 17;
    static constexpr qreal FirstLineTop = 8;
    static constexpr qreal LineSpacing = 3;
    static constexpr qreal Inset = 3;
    static constexpr qreal LastGapMm = 0.1;

    // data is walked from its first record; prepare runs before every
    // generation (it copies the current set onto the print cursor).
    AddressLabelReport(ReportDataSource& data, std::function<void()> prepare);

    Report& report() { return m_report; }
    const Report& report() const { return m_report; }

    LabelFont font;     // the label font, taken by layout()
    QString salutation; // empty: no salutation line
    std::array<bool, LabelSettings::OptionCount> options{false, true, true, true, true, false};

    // Page margins in mm; a negative one counts as 0.
    void setMargins(qreal left, qreal top, qreal right, qreal bottom);
    // The sheet: labels across and down, label size, gaps (mm). The label
    // width is not used: the column width comes from the page.
    void layout(int across, int down, qreal labelWidthMm, qreal labelHeightMm, qreal columnGapMm,
                qreal rowGapMm);
    // Margins, layout, salutation and font from the settings and the label
    // size the sheet view derived. False with why when a field is no number.
    bool configure(const LabelSettings& settings, float sizeWidth, float sizeLength,
                   QString* error = nullptr);

    qreal lineWidth() const { return m_lineWidth; }
    int labelsDown() const { return m_labelsDown; }
    qreal gapHeightMm() const { return m_gapMm; }
    int labelCounter() const { return m_counter; }
    const QStringList& lines() const { return m_lines; }

private:
    bool beforePrint();
    bool needData();
    void composeCurrent();

    ReportDataSource& m_data;
    std::function<void()> m_prepare;
    Report m_report;
    ReportBand* m_detail = nullptr;
    ReportBand* m_gap = nullptr;
    QStringList m_lines;
    qreal m_lineWidth = 0;
    int m_labelsDown = 1;
    qreal m_gapMm = 0;
    int m_counter = 0;
};

} // namespace kv
