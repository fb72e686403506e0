#pragma once

#include "domain/PrintCursorScope.h"
#include "reports/ProfilePrintCursors.h"
#include "reports/ProfileReport.h"
#include "ui/PrintSettingsDialog.h"

#include <memory>
#include <optional>

class QGroupBox;
class QRadioButton;

namespace kv
{

class DataModule;

// The profile print settings: the profiles of every firm of the current set
// or of the current firm alone, the font and the printer. Lives for the whole
// run; the report form and its cursors exist only while it is shown.
class ProfilePrintSettingsDialog : public PrintSettingsDialog
{
    Q_OBJECT
public:
    explicit ProfilePrintSettingsDialog(DataModule& dm, QWidget* parent = nullptr);
    ~ProfilePrintSettingsDialog() override;

    // Set by the print command before showing: true from the pop-up menu,
    // which preselects the current firm alone.
    void setOpenedFromPopup(bool fromPopup) { m_fromPopup = fromPopup; }
    // 0 all firms of the set, 1 the current firm alone.
    int choice() const;
    void setChoice(int index);
    QGroupBox* group() const { return m_group; }

    Report* report() const override;

    // The print cursor's filter for the current firm alone.
    static QString currentFirmFilter(qint64 peno);

protected:
    void applyTexts() override;
    void createReport() override;
    void destroyReport() override;
    void prepareData() override;
    void hideEvent(QHideEvent* event) override;

private:
    void rebuildChoices();

    DataModule& m_dm;
    bool m_fromPopup = false;
    QGroupBox* m_group;
    QRadioButton* m_items[2] = {nullptr, nullptr};
    std::unique_ptr<ProfilePrintCursors> m_cursors;
    std::unique_ptr<ProfileReport> m_form;
    std::optional<PrintCursorScope> m_printScope; // TPrn from the last run
};

} // namespace kv
