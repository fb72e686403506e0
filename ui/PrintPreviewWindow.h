#pragma once

#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QEventLoop;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace kv
{

class PageView;
class Report;
class FilteredLineEdit;

// The print preview: leafs through a report's generated pages, zooms, and
// prints the report again straight to its printer.
//
//   PrintPreviewWindow preview(mainWindow);
//   preview.setPrintEnabled(true);
//   preview.showReport(report);   // returns when the window has been closed
class PrintPreviewWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 100;

    explicit PrintPreviewWindow(QWidget* parent = nullptr);
    ~PrintPreviewWindow() override;

    // Generates the report into its page store, shows the pages as they come
    // and returns when the window has been closed. Does nothing while a
    // preview is running. A Error::report from the generation is passed on.
    void showReport(Report& report);
    // Shows a report's pages without generating or waiting (already generated
    // pages, or a generation the caller runs).
    void attachReport(Report* report);
    Report* report() const { return m_report; }

    void setPrintEnabled(bool on);
    PageView* view() const { return m_view; }
    FilteredLineEdit* editZoom() const { return m_editZoom; }
    QString statusText() const;

    // One step of the 100 ms timer: status text, a pending zoom, repaint.
    void tick();
    void firstPage();
    void priorPage();
    void nextPage();
    void lastPage();
    void wholePage();
    void pageWidth();
    // One step along the zoom scale (Ctrl++, Ctrl+-).
    void zoomIn();
    void zoomOut();
    void printReport();
    // Ends a running generation; the pages made so far stay.
    void stopGeneration();
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* stopButton() const { return m_btnStop; }

    // Zooms as percent of the page size in screen pixels, rounded half to even.
    static int wholePageZoom(const QSize& view, const QSizeF& page);
    static int pageWidthZoom(const QSize& view, const QSizeF& page);
    // The next zoom of the scale above (direction 1) or below (-1) zoom;
    // zoom itself at the end of the scale.
    static int zoomStep(int zoom, int direction);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyTexts();
    void centreClose();
    void showZoom(int zoom);
    void recordsDone(int done, int total);
    void showProgress(bool on);
    static QIcon themeIcon(const char* name);
    QToolButton* addTool(QWidget* parent, const char* name, const char* icon);
    void addKeys();

    PageView* m_view;
    FilteredLineEdit* m_editZoom;
    QToolButton* m_sbFirst;
    QToolButton* m_sbPrev;
    QToolButton* m_sbNext;
    QToolButton* m_sbLast;
    QToolButton* m_sbFull;
    QToolButton* m_sbDetail;
    QToolButton* m_sbPrint;
    QPushButton* m_btnZavrit;
    QWidget* m_centre;
    QLabel* m_status;
    QProgressBar* m_progress;
    QPushButton* m_btnStop;
    QTimer m_timer;
    QString m_pageText;
    QString m_ofText;
    bool m_zoomPending = false;
    QPointer<Report> m_report;
    bool m_previewing = false;
    QEventLoop* m_loop = nullptr;
};

} // namespace kv
