#include "ui/PrintPreviewWindow.h"

#include "core/Error.h"
#include "core/StringTable.h"
#include "reports/Report.h"
#include "ui/ErrorBox.h"
#include "ui/FilteredLineEdit.h"
#include "ui/PageView.h"
#include "ui/ReportPrinter.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <iterator>

namespace kv
{

namespace
{

// Rounds to the nearest integer, halves to even.
int roundEven(double v)
{
    return int(std::nearbyint(v));
}

} // namespace

PrintPreviewWindow::PrintPreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FPreview"));
    // Shown from a modal settings window, the preview must itself be modal,
    // or the window system hands all its input to the settings window.
    setWindowModality(Qt::ApplicationModal);
    auto* top = new QWidget(this);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(4, 2, 4, 2);

    auto* left = new QWidget(top);
    auto* leftLayout = new QHBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    m_sbFirst = addTool(left, "sbFirst", "go-first");
    m_sbPrev = addTool(left, "sbPrev", "go-previous");
    m_sbNext = addTool(left, "sbNext", "go-next");
    m_sbLast = addTool(left, "sbLast", "go-last");
    m_editZoom = new FilteredLineEdit(left);
    m_editZoom->setObjectName(QStringLiteral("EditZoom"));
    m_editZoom->setEnabledKey(QStringLiteral("0123456789"));
    m_editZoom->setText(QStringLiteral("100"));
    m_editZoom->setFixedWidth(48);
    m_sbFull = addTool(left, "sbFull", "zoom-fit-best");
    m_sbDetail = addTool(left, "sbDetail", "zoom-fit-width");
    for (QWidget* w : {static_cast<QWidget*>(m_sbFirst), static_cast<QWidget*>(m_sbPrev),
                       static_cast<QWidget*>(m_sbNext), static_cast<QWidget*>(m_sbLast),
                       static_cast<QWidget*>(m_editZoom), static_cast<QWidget*>(m_sbFull),
                       static_cast<QWidget*>(m_sbDetail)})
        leftLayout->addWidget(w);

    m_centre = new QWidget(top);
    m_centre->setMinimumHeight(30);
    m_centre->installEventFilter(this);
    m_sbPrint = addTool(m_centre, "sbPrint", "document-print");
    m_sbPrint->move(0, 2);
    m_sbPrint->setEnabled(false);
    m_btnZavrit = new QPushButton(m_centre);
    m_btnZavrit->setObjectName(QStringLiteral("btnZavrit"));
    m_btnZavrit->setIcon(themeIcon("window-close"));

    m_status = new QLabel(top);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setMinimumWidth(140);

    // A long generation shows how far it is and can be stopped.
    m_progress = new QProgressBar(top);
    m_progress->setObjectName(QStringLiteral("pbGenerate"));
    m_progress->setFixedWidth(160);
    m_progress->setTextVisible(true);
    m_progress->hide();
    m_btnStop = new QPushButton(top);
    m_btnStop->setObjectName(QStringLiteral("btnStop"));
    m_btnStop->setIcon(themeIcon("process-stop"));
    m_btnStop->hide();
    connect(m_btnStop, &QPushButton::clicked, this, &PrintPreviewWindow::stopGeneration);

    topLayout->addWidget(left);
    topLayout->addWidget(m_centre, 1);
    topLayout->addWidget(m_progress);
    topLayout->addWidget(m_btnStop);
    topLayout->addWidget(m_status);

    m_view = new PageView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(m_view, 1);

    connect(m_sbFirst, &QToolButton::clicked, this, &PrintPreviewWindow::firstPage);
    connect(m_sbPrev, &QToolButton::clicked, this, &PrintPreviewWindow::priorPage);
    connect(m_sbNext, &QToolButton::clicked, this, &PrintPreviewWindow::nextPage);
    connect(m_sbLast, &QToolButton::clicked, this, &PrintPreviewWindow::lastPage);
    connect(m_sbFull, &QToolButton::clicked, this, &PrintPreviewWindow::wholePage);
    connect(m_sbDetail, &QToolButton::clicked, this, &PrintPreviewWindow::pageWidth);
    connect(m_sbPrint, &QToolButton::clicked, this, &PrintPreviewWindow::printReport);
    connect(m_btnZavrit, &QPushButton::clicked, this, &QWidget::close);
    connect(m_editZoom, &QLineEdit::textChanged, this, [this] { m_zoomPending = true; });
    addKeys();
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &PrintPreviewWindow::tick);
    applyTexts();
    resize(800, 600);
}

PrintPreviewWindow::~PrintPreviewWindow()
{
    if (m_report && m_report->isGenerating())
        m_report->cancel();
    if (m_loop)
        m_loop->quit();
}

QIcon PrintPreviewWindow::themeIcon(const char* name)
{
    // The desktop's icon theme first; the program's own pictures otherwise.
    const QString n = QLatin1String(name);
    return QIcon::fromTheme(n, QIcon(QStringLiteral(":/icons/actions/%1.png").arg(n)));
}

QToolButton* PrintPreviewWindow::addTool(QWidget* parent, const char* name, const char* icon)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(themeIcon(icon));
    b->setIconSize(QSize(22, 22));
    b->setAutoRaise(true);
    return b;
}

void PrintPreviewWindow::addKeys()
{
    // Window shortcuts: they work wherever the focus is in the preview (the
    // zoom field keeps Home and End for its own text).
    const struct {
        const char* name;
        QList<QKeySequence> keys;
        void (PrintPreviewWindow::*slot)();
    } keys[] = {
        {"acFirst",
         {QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_Home)},
         &PrintPreviewWindow::firstPage},
        {"acPrev", {QKeySequence(Qt::Key_PageUp)}, &PrintPreviewWindow::priorPage},
        {"acNext", {QKeySequence(Qt::Key_PageDown)}, &PrintPreviewWindow::nextPage},
        {"acLast",
         {QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_End)},
         &PrintPreviewWindow::lastPage},
        {"acZoomIn",
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
         &PrintPreviewWindow::zoomIn},
        {"acZoomOut", {QKeySequence(QKeySequence::ZoomOut)}, &PrintPreviewWindow::zoomOut},
    };
    for (const auto& k : keys) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(k.name));
        a->setShortcuts(k.keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, k.slot);
        addAction(a);
    }
}

void PrintPreviewWindow::applyTexts()
{
    setWindowTitle(loadStr(171));
    m_sbFirst->setToolTip(loadStr(128));
    m_sbPrev->setToolTip(loadStr(129));
    m_sbNext->setToolTip(loadStr(130));
    m_sbLast->setToolTip(loadStr(131));
    m_sbFull->setToolTip(loadStr(132));
    m_sbDetail->setToolTip(loadStr(133));
    m_sbPrint->setToolTip(loadStr(134));
    m_btnZavrit->setText(loadStr(113));
    m_btnZavrit->adjustSize();
    m_btnStop->setText(loadStr(68));
    m_progress->setFormat(loadStr(249) + QStringLiteral(" %p %"));
    m_pageText = loadStr(135);
    m_ofText = loadStr(136);
}

void PrintPreviewWindow::setPrintEnabled(bool on)
{
    m_sbPrint->setEnabled(on);
}

void PrintPreviewWindow::attachReport(Report* report)
{
    if (m_report)
        disconnect(m_report, nullptr, this, nullptr);
    m_report = report;
    showProgress(false);
    if (report) {
        m_view->attach(&report->pageStore());
        // A page that arrives gets the zoom that is pending or in force.
        connect(report, &Report::pageGenerated, this, [this] { m_zoomPending = true; });
        connect(report, &Report::recordsDone, this, &PrintPreviewWindow::recordsDone);
        connect(report, &Report::generationFinished, this, [this] { showProgress(false); });
    } else {
        m_view->detach();
    }
    m_view->setPage(1);
}

void PrintPreviewWindow::showReport(Report& report)
{
    if (m_previewing)
        return;
    m_previewing = true;
    attachReport(&report);
    showMaximized();
    raise();
    activateWindow();
    try {
        report.generate();
    } catch (...) {
        m_previewing = false;
        close();
        throw;
    }
    if (isVisible() && m_view->store()) {
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }
    m_previewing = false;
}

QString PrintPreviewWindow::statusText() const
{
    return m_status->text();
}

void PrintPreviewWindow::tick()
{
    m_status->setText(m_pageText + QString::number(m_view->page()) + m_ofText +
                      QString::number(m_view->pageCount()));
    if (m_zoomPending) {
        QString text = m_editZoom->text();
        while (text.startsWith(u'0'))
            text.remove(0, 1);
        if (text.isEmpty())
            text = QStringLiteral("100");
        if (text.size() > 3)
            text.truncate(3);
        m_editZoom->blockSignals(true);
        m_editZoom->setText(text);
        m_editZoom->blockSignals(false);
        m_view->setZoom(text.toInt()); // ignores values below 2
        m_zoomPending = false;
    }
    update();
    m_view->viewport()->update();
}

void PrintPreviewWindow::firstPage()
{
    m_view->setPage(1);
}

void PrintPreviewWindow::priorPage()
{
    if (m_view->page() > 1)
        m_view->setPage(m_view->page() - 1);
}

void PrintPreviewWindow::nextPage()
{
    if (m_view->page() < m_view->pageCount())
        m_view->setPage(m_view->page() + 1);
}

void PrintPreviewWindow::lastPage()
{
    if (m_view->pageCount() > 0)
        m_view->setPage(m_view->pageCount());
}

int PrintPreviewWindow::wholePageZoom(const QSize& view, const QSizeF& page)
{
    if (page.isEmpty())
        return 100;
    const int byWidth = roundEven(view.width() / page.width() * 95);
    const int byHeight = roundEven(view.height() / page.height() * 95);
    return qMin(byWidth, byHeight);
}

int PrintPreviewWindow::pageWidthZoom(const QSize& view, const QSizeF& page)
{
    if (page.isEmpty())
        return 100;
    return roundEven(view.width() / page.width() * 90);
}

void PrintPreviewWindow::showZoom(int zoom)
{
    m_view->setZoom(zoom);
    m_editZoom->blockSignals(true);
    m_editZoom->setText(QString::number(m_view->zoom()));
    m_editZoom->blockSignals(false);
}

void PrintPreviewWindow::wholePage()
{
    showZoom(wholePageZoom(m_view->viewSize(), m_view->pagePixels()));
}

void PrintPreviewWindow::pageWidth()
{
    showZoom(pageWidthZoom(m_view->viewSize(), m_view->pagePixels()));
}

int PrintPreviewWindow::zoomStep(int zoom, int direction)
{
    static constexpr int scale[] = {10,  25,  50,  75,  100,  125,  150, 200,
                                    300, 400, 600, 800, 1200, 1600, 2000};
    if (direction > 0) {
        for (int z : scale)
            if (z > zoom)
                return z;
    } else {
        for (auto it = std::rbegin(scale); it != std::rend(scale); ++it)
            if (*it < zoom)
                return *it;
    }
    return zoom;
}

void PrintPreviewWindow::zoomIn()
{
    showZoom(zoomStep(m_view->zoom(), 1));
}

void PrintPreviewWindow::zoomOut()
{
    showZoom(zoomStep(m_view->zoom(), -1));
}

void PrintPreviewWindow::printReport()
{
    if (!m_report || m_report->isGenerating())
        return;
    QProgressDialog progress(loadStr(134), QString(), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const QString base = m_pageText.trimmed() + u' ';
    auto conn = connect(m_report, &Report::pageGenerated, &progress, [&progress, base](int n) {
        progress.setLabelText(base + QString::number(n));
    });
    progress.show();
    try {
        ReportPrinter::of(*m_report).print();
    } catch (const Error& e) {
        // A fault of the report keeps its own warning; the database or a
        // file failing while printing gets the program's error box.
        progress.close();
        if (e.is(Error::Kind::Report))
            QMessageBox::warning(this, QStringLiteral("Error"), e.message());
        else
            showErrorBox(this, e.message());
    }
    disconnect(conn);
}

void PrintPreviewWindow::recordsDone(int done, int total)
{
    // Printing runs the report again: its progress has a window of its own.
    if (!m_previewing || !m_report || m_report->pageStore().isFinished())
        return;
    if (total > 0) {
        m_progress->setRange(0, total);
        m_progress->setValue(qMin(done, total));
    } else {
        m_progress->setRange(0, 0);
    }
    showProgress(true);
}

void PrintPreviewWindow::showProgress(bool on)
{
    m_progress->setVisible(on);
    m_btnStop->setVisible(on);
}

void PrintPreviewWindow::stopGeneration()
{
    // The pages made so far stay to be seen.
    if (m_report && m_report->isGenerating())
        m_report->cancel();
    showProgress(false);
}

void PrintPreviewWindow::centreClose()
{
    m_btnZavrit->move(m_centre->width() / 2 - m_btnZavrit->width() / 2,
                      (m_centre->height() - m_btnZavrit->height()) / 2);
}

bool PrintPreviewWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_centre && event->type() == QEvent::Resize)
        centreClose();
    return QWidget::eventFilter(watched, event);
}

void PrintPreviewWindow::showEvent(QShowEvent* event)
{
    applyTexts();
    centreClose();
    m_zoomPending = true;
    m_view->setPage(1);
    m_timer.start();
    tick();
    QWidget::showEvent(event);
    // The page keys and the wheel act on the page from the start.
    m_view->setFocus();
}

void PrintPreviewWindow::hideEvent(QHideEvent* event)
{
    m_timer.stop();
    QWidget::hideEvent(event);
}

void PrintPreviewWindow::closeEvent(QCloseEvent* event)
{
    // Closing while pages are still coming ends the generation as well.
    if (m_report && m_report->isGenerating())
        m_report->cancel();
    m_view->detach();
    m_view->setPage(1);
    if (m_loop)
        m_loop->quit();
    QWidget::closeEvent(event);
}

} // namespace kv
