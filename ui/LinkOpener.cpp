#include "ui/LinkOpener.h"

#include "core/StringTable.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace kv
{

namespace
{

LinkOpener::Launcher& launcher()
{
    static LinkOpener::Launcher l;
    return l;
}

} // namespace

void LinkOpener::setLauncher(Launcher l)
{
    launcher() = std::move(l);
}

bool LinkOpener::open(const QUrl& url, QWidget* parent)
{
    const bool opened = launcher() ? launcher()(url) : QDesktopServices::openUrl(url);
    if (opened)
        return true;
    QMessageBox box(QMessageBox::Information, loadStr(119), loadStr(246), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("LinkFailed"));
    box.setInformativeText(url.toString());
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
    return false;
}

} // namespace kv
