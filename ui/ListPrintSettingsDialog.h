#pragma once

#include "domain/PrintCursorScope.h"
#include "reports/FirmListReport.h"
#include "reports/TableCursorSource.h"
#include "ui/PrintSettingsDialog.h"

#include <array>
#include <memory>
#include <optional>

class QCheckBox;

namespace kv
{

class DataModule;

// The list print settings: which items the company list prints, the font and
// the printer. Lives for the whole run, so the ticks stay; the report form
// exists only while the window is shown.
class ListPrintSettingsDialog : public PrintSettingsDialog
{
    Q_OBJECT
public:
    enum Box { Nazevadr, Tel, Fax, Email, WWW, Pozn, BoxCount };

    explicit ListPrintSettingsDialog(DataModule& dm, QWidget* parent = nullptr);
    ~ListPrintSettingsDialog() override;

    QCheckBox* box(Box b) const { return m_boxes[size_t(b)]; }
    Report* report() const override;
    FirmListReport* listReport() const { return m_form.get(); }

protected:
    void applyTexts() override;
    void createReport() override;
    void destroyReport() override;
    void prepareData() override;
    void copyChoices() override;

private:
    DataModule& m_dm;
    std::array<QCheckBox*, BoxCount> m_boxes{};
    std::unique_ptr<TableCursorSource> m_firms;
    std::unique_ptr<FirmListReport> m_form;
    std::optional<PrintCursorScope> m_printScope; // TPrn from the last run
};

} // namespace kv
