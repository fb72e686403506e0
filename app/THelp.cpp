#include "app/THelp.h"

#include "app/core/Global.h"
#include "app/core/StringTable.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kv
{

THelp::THelp(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FHelp"));
    resize(640, 560);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    auto layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

bool THelp::showFile(const QString& path, const QString& anchor)
{
    setWindowTitle(QStringLiteral("Kvelta 2001 - ") + LoadStr(93).remove(QLatin1Char('&')));
    m_anchor = anchor;
    if (!QFileInfo(path).isFile()) {
        const QString missing = global().langBase == 500
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
