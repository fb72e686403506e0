#pragma once

#include "domain/LabelGeometry.h"
#include "domain/LabelSettings.h"

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kv
{

class ReportDataSource;
class FilteredLineEdit;
class PrintPreviewWindow;
class AddressLabelReport;
class LabelLinesDialog;
class LabelSheetView;

// The label settings window: the sheet in eight digit fields shown live in
// the sheet view, the content window, font, printer, label files, the
// makers' sheets, and the label report in the preview. Lives for the whole
// run so the fields keep their values; the content window and the report
// (with the label font) exist only while it is shown.
class LabelPrintSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // data is the print cursor the report walks; prepare readies it before
    // every run.
    LabelPrintSettingsDialog(std::unique_ptr<ReportDataSource> data, std::function<void()> prepare,
                             QWidget* parent = nullptr);
    ~LabelPrintSettingsDialog() override;

    // The preview the next Preview/Print generates into.
    void setPreview(PrintPreviewWindow* preview);

    FilteredLineEdit* field(LabelGeometry::Field f) const { return m_fields[size_t(f)]; }
    LabelSheetView* view() const { return m_plv; }
    QLabel* sizeWidthLabel() const { return m_lSizeH; }
    QLabel* sizeLengthLabel() const { return m_lSizeV; }
    QComboBox* sheetChooser() const { return m_sheets; }
    LabelLinesDialog* detail() const { return m_detail.get(); }
    AddressLabelReport* labelReport() const { return m_report.get(); }
    int beeps() const { return m_beeps; }

    // The whole setting as a label file holds it, and back.
    LabelSettings settings() const;
    void applySettings(const LabelSettings& settings);

    void setDefaults();
    void saveTo(const QString& path);
    void loadFrom(const QString& path);
    // Fills the eight fields from sheet index of the makers' catalogue.
    void chooseSheet(int index);
    void startPreview();
    void chooseFont();
    void printerSetup();
    void closeWindow();
    void reject() override;
    // "60,0 mm": one decimal, the separator of the program's language, no
    // grouping.
    static QString sizeText(float mm);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();
    void applyTexts();
    void fieldChanged();
    void refreshSizes();
    QString askFile(bool save);
    void errorBox(const QString& text);

    std::unique_ptr<ReportDataSource> m_data;
    std::function<void()> m_prepare;
    std::array<FilteredLineEdit*, LabelGeometry::FieldCount> m_fields{};
    LabelSheetView* m_plv = nullptr;
    QLabel* m_lSizeH = nullptr;
    QLabel* m_lSizeV = nullptr;
    QComboBox* m_sheets = nullptr;
    QPushButton* m_btnObsah = nullptr;
    std::unique_ptr<LabelLinesDialog> m_detail;
    std::unique_ptr<AddressLabelReport> m_report;
    QPointer<PrintPreviewWindow> m_preview;
    bool m_inPreview = false;
    bool m_dropAfterPreview = false;
    int m_beeps = 0;
    // Caption setters, run on every show so the texts follow the language.
    std::vector<std::function<void()>> m_texts;
};

} // namespace kv
