#include "ui/HelpWindow.h"

#include "core/Settings.h"
#include "core/StringTable.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kv
{

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FHelp"));
    resize(640, 560);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    // A window manager may give the window no frame to close it by.
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("btnZavrit"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    auto escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    auto buttons = new QDialogButtonBox(this);
    buttons->addButton(m_close, QDialogButtonBox::RejectRole);
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(m_browser);
    layout->addWidget(buttons);
}

bool HelpWindow::showFile(const QString& path, const QString& anchor)
{
    setWindowTitle(QStringLiteral("Kvelta 2001 - ") + loadStr(93).remove(QLatin1Char('&')));
    m_close->setText(loadStr(113));
    m_anchor = anchor;
    if (!QFileInfo(path).isFile()) {
        const QString missing = settings().langBase == 500
                                    ? QStringLiteral("Help file not found: ")
                                    : QStringLiteral("Soubor nápovědy nenalezen: ");
        m_browser->setPlainText(missing + path);
        return false;
    }
    // ":/..." is the page built into the program.
    const QUrl url = path.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + path)
                                                       : QUrl::fromLocalFile(path);
    m_browser->setSource(url);
    if (!anchor.isEmpty())
        m_browser->scrollToAnchor(anchor);
    return true;
}

} // namespace kv
