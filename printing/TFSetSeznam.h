#pragma once

#include "printing/PrintSettingsDialog.h"
#include "printing/TFPrintSeznam.h"
#include "printing/TableCursorSource.h"

#include <array>
#include <memory>

class QCheckBox;

namespace kv
{

class TDM;

// The list print settings: which items the company list prints, the font and
// the printer. Lives for the whole run, so the ticks stay; the report form
// exists only while the window is shown.
class TFSetSeznam : public PrintSettingsDialog
{
    Q_OBJECT
public:
    enum Box { Nazevadr, Tel, Fax, Email, WWW, Pozn, BoxCount };

    explicit TFSetSeznam(TDM& dm, QWidget* parent = nullptr);
    ~TFSetSeznam() override;

    QCheckBox* box(Box b) const { return m_boxes[size_t(b)]; }
    Report* report() const override;
    TFPrintSeznam* listReport() const { return m_form.get(); }

protected:
    void applyTexts() override;
    void createReport() override;
    void destroyReport() override;
    void prepareData() override;
    void copyChoices() override;

private:
    TDM& m_dm;
    std::array<QCheckBox*, BoxCount> m_boxes{};
    std::unique_ptr<TableCursorSource> m_firms;
    std::unique_ptr<TFPrintSeznam> m_form;
};

} // namespace kv
