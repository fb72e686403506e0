#pragma once

#include <QDialog>
#include <QPointer>

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

namespace kv
{

class Report;
class PrintPreviewWindow;

// What the list and profile print settings windows share: the font, printer,
// preview and close buttons, the report form that exists only while the
// window is shown, and the run of the report in the preview.
class PrintSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // The preview the next Preview/Print fills (made by the print command).
    void setPreview(PrintPreviewWindow* preview);
    PrintPreviewWindow* preview() const;

    // The report form while the window is shown, else nullptr.
    virtual Report* report() const = 0;

    QPushButton* fontButton() const { return m_btnPismo; }
    QPushButton* printerButton() const { return m_btnTiskarna; }
    QPushButton* previewButton() const { return m_btnPreview; }
    QPushButton* closeButton() const { return m_btnZrusit; }

    // Preview/Print: prepares the data, shows the report in the preview and,
    // once the preview has been closed, closes this window. A failure is
    // shown with its own message under the title "Error".
    void runPreview();
    // Closes a visible preview (with a beep), then this window.
    void closeWindow();

protected:
    PrintSettingsDialog(int titleId, QWidget* parent);

    // The window's own controls go left of the buttons.
    QVBoxLayout* body() const { return m_body; }

    virtual void applyTexts();
    virtual void createReport() = 0;
    virtual void destroyReport() = 0;
    // Opens the print cursors on the set to print; may throw.
    virtual void prepareData() = 0;
    // The report's own choices, copied from the window just before a run.
    virtual void copyChoices() {}

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void chooseFont();
    void choosePrinter();

    int m_titleId;
    QVBoxLayout* m_body;
    QPushButton* m_btnPismo;
    QPushButton* m_btnTiskarna;
    QPushButton* m_btnPreview;
    QPushButton* m_btnZrusit;
    QPointer<PrintPreviewWindow> m_preview;
    bool m_previewing = false;
    bool m_hiddenWhilePreviewing = false;
};

} // namespace kv
