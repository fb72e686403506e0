#pragma once

#include "domain/Export.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kv
{

class DataModule;

// The export window: which items enter a line and the separator, then the
// target file. Created for one export command and freed afterwards, so its
// choices start from the designed state every time.
class ExportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ExportDialog(DataModule& dm, QWidget* parent = nullptr);

    void applyTexts();
    // Disables OK when the company set is over the export limit; true then.
    bool applyLimit();

    ExportChoice choice() const;
    int separatorItem() const;
    void setSeparatorItem(int item);

    // Exports the current set to path behind the progress window, the
    // controls disabled meanwhile. Write failures are shown in the error box.
    TextExport::Result exportTo(const QString& path);

    QCheckBox* itemBox(ExportItem item) const { return m_items[size_t(item)]; }
    QRadioButton* separatorButton(int item) const { return m_sep[size_t(item)]; }
    QLineEdit* otherSeparator() const { return m_edOddelovac; }
    // 0 text (the default), 1 CSV, 2 xlsx.
    QRadioButton* formatButton(int item) const { return m_format[size_t(item)]; }
    QPushButton* okButton() const { return m_btnOk; }
    QPushButton* closeButton() const { return m_btnZrusit; }

signals:
    // The progress window of the running export (for tests and automation).
    void progressShown(QDialog* progress);

protected:
    void showEvent(QShowEvent* event) override;
    // The target file from the save dialog; empty when cancelled.
    virtual QString askFile();

private:
    void build();
    void rgOddelovacClick();
    void btnOkClick();
    void setControlsEnabled(bool on);

    DataModule& m_dm;
    QGroupBox* m_grPolozky = nullptr;
    std::array<QCheckBox*, ExportItemCount> m_items{};
    QGroupBox* m_rgOddelovac = nullptr;
    QButtonGroup* m_sepGroup = nullptr;
    std::array<QRadioButton*, 3> m_sep{};
    QLineEdit* m_edOddelovac = nullptr;
    QGroupBox* m_rgFormat = nullptr;
    QButtonGroup* m_formatGroup = nullptr;
    std::array<QRadioButton*, 3> m_format{};
    QPushButton* m_btnOk = nullptr;
    QPushButton* m_btnZrusit = nullptr;
};

} // namespace kv
