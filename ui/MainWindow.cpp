#include "ui/MainWindow.h"

#include "ui/NavigatorRow.h"

#include "core/Settings.h"
#include "core/StringTable.h"
#include "core/UiLanguage.h"
#include "domain/Links.h"
#include "ui/AboutDialog.h"
#include "ui/ErrorBox.h"
#include "ui/FirmListWindow.h"
#include "ui/HelpKey.h"
#include "ui/HelpWindow.h"
#include "ui/LinkOpener.h"
#include "ui/ProfileCommands.h"
#include "ui/ProfileWindow.h"
#include "ui/QuickFindBox.h"
#include "ui/SplashWindow.h"
#include "ui/ToolIcons.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace kv
{

MainWindow::MainWindow(DataModule* dm, int mdiMod, QWidget* parent)
    : QMainWindow(parent), m_dm(dm), m_mdiMod(mdiMod)
{
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QStringLiteral("Kvelta 2001"));
    setMinimumSize(500, 400);
    m_mdi = new QMdiArea(this);
    m_mdi->setBackground(QBrush(ToolIcons::background()));
    setCentralWidget(m_mdi);
    // A smaller frame re-applies the arrangement, so no child window is left
    // outside it.
    m_mdi->installEventFilter(this);
    menuBar()->setObjectName(QStringLiteral("MMenu"));
    m_menus = new MainMenus(menuBar(), this);
    connect(m_menus, &MainMenus::command, this,
            [this](Command c, const QString& name) { runCommand(c, name); });
    connect(m_menus->windowsMenu(), &QMenu::aboutToShow, this, &MainWindow::fillWindowsMenu);
    buildToolbar();
    buildStatusBar();
    new HelpKey([this](const QString& anchor) { showHelp(anchor); }, this);
    if (m_dm) {
        m_dm->setViews(this);
        connect(m_dm, &DataModule::firmMoved, this, &MainWindow::updateNavigator);
    }
    applyTexts();
}

MainWindow::~MainWindow()
{
    if (m_dm)
        m_dm->setViews(nullptr);
}

void MainWindow::buildToolbar()
{
    auto bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("panTool"));
    bar->setMovable(false);
    bar->setFixedHeight(29);
    bar->setIconSize(QSize(20, 20));
    addToolBar(Qt::TopToolBarArea, bar);

    QWidget* nav = createNavigatorRow(bar, m_nav, [this](int i) {
        if (!m_dm || !m_dm->firms())
            return;
        engine::TableCursor* c = m_dm->firms();
        guarded([c, i] { moveByNavigator(*c, i); });
    });
    for (QToolButton* b : m_nav)
        b->setAutoRaise(true);
    bar->addWidget(nav);
    bar->addSeparator()->setObjectName(QStringLiteral("Bevel1"));

    auto tool = [this, bar](const char* name, const QIcon& icon, Command command) {
        auto b = new QToolButton(bar);
        b->setObjectName(QLatin1String(name));
        b->setIcon(icon);
        b->setFixedSize(25, 25);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, command]() { runCommand(command); });
        bar->addWidget(b);
        return b;
    };
    tool("sbVyber", ToolIcons::selection(), Command::NewSelection);
    tool("sbPozn", ToolIcons::note(), Command::Note);
    tool("sbVyjmout", ToolIcons::exclude(), Command::Exclude);
    bar->addSeparator();
    m_quickFind = new QuickFindBox(
        m_dm, [this]() { return statusText(1); },
        [this](const QString& text) { setStatusText(1, text); }, bar);
    bar->addWidget(m_quickFind);
    auto spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    auto cz = tool("sbCZ", ToolIcons::flagCz(), Command::None);
    auto en = tool("sbEN", ToolIcons::flagEn(), Command::None);
    connect(cz, &QToolButton::clicked, this, [this]() { switchLanguage(0); });
    connect(en, &QToolButton::clicked, this, [this]() { switchLanguage(500); });
}

void MainWindow::buildStatusBar()
{
    auto stb = statusBar();
    stb->setObjectName(QStringLiteral("stb"));
    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(stb);
        m_panels[i]->setObjectName(QStringLiteral("stbPanel%1").arg(i));
        m_panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        stb->addWidget(m_panels[i]);
        setStatusText(i, QString());
    }
}

void MainWindow::applyTexts()
{
    setWindowTitle(QStringLiteral("Kvelta 2001"));
    QApplication::setApplicationDisplayName(QString());
    m_menus->applyTexts();
    if (m_quickFind)
        m_quickFind->applyTexts();
    const int hints[4] = {106, 107, 108, 109};
    for (int i = 0; i < 4; ++i)
        m_nav[i]->setToolTip(loadStr(hints[i]));
    findChild<QToolButton*>(QStringLiteral("sbVyber"))->setToolTip(loadStr(72));
    findChild<QToolButton*>(QStringLiteral("sbPozn"))->setToolTip(loadStr(111));
    findChild<QToolButton*>(QStringLiteral("sbVyjmout"))->setToolTip(loadStr(194));
    // The language switch is offered: both flags and the menu item stay
    // visible; the flag of the current language is pressed down.
    auto cz = findChild<QToolButton*>(QStringLiteral("sbCZ"));
    auto en = findChild<QToolButton*>(QStringLiteral("sbEN"));
    cz->setToolTip(QStringLiteral("Čeština"));
    en->setToolTip(QStringLiteral("English"));
    cz->setCheckable(true);
    en->setCheckable(true);
    cz->setChecked(settings().langBase == 0);
    en->setChecked(settings().langBase == 500);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    applyTexts();
    postArrange();
}

void MainWindow::postArrange()
{
    // Deferred so that windows shown in the same event are all in place.
    QMetaObject::invokeMethod(this, &MainWindow::arrange, Qt::QueuedConnection);
}

void MainWindow::arrange()
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && !w->isMinimized())
            windows << w;
    if (windows.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = int(windows.size());
    switch (m_mdiMod) {
    case 0: // side by side
        for (int i = 0; i < n; ++i) {
            const int x0 = area.width() * i / n, x1 = area.width() * (i + 1) / n;
            windows[i]->showNormal();
            windows[i]->setGeometry(x0, 0, x1 - x0, area.height());
        }
        break;
    case 1: // one below the other
        for (int i = 0; i < n; ++i) {
            const int y0 = area.height() * i / n, y1 = area.height() * (i + 1) / n;
            windows[i]->showNormal();
            windows[i]->setGeometry(0, y0, area.width(), y1 - y0);
        }
        break;
    case 2:
        m_mdi->cascadeSubWindows();
        break;
    default: // any other value arranges nothing
        break;
    }
    keepChildrenReachable();
}

void MainWindow::keepChildrenReachable()
{
    const QRect area = m_mdi->viewport()->rect();
    if (area.isEmpty())
        return;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (!w->isVisible() || w->isMinimized() || w->isMaximized())
            continue;
        QRect g = w->geometry();
        g.setSize(g.size().boundedTo(area.size()).expandedTo(w->minimumSize()));
        g.moveLeft(
            std::clamp(g.left(), area.left(), std::max(area.left(), area.right() - g.width() + 1)));
        g.moveTop(
            std::clamp(g.top(), area.top(), std::max(area.top(), area.bottom() - g.height() + 1)));
        if (g != w->geometry())
            w->setGeometry(g);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdi && event->type() == QEvent::Resize)
        postArrange();
    return QMainWindow::eventFilter(watched, event);
}

QMdiSubWindow* MainWindow::addChild(QWidget* child)
{
    QMdiSubWindow* sub = m_mdi->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(child->size());
    return sub;
}

FirmListWindow* MainWindow::listWindow() const
{
    return m_listSub ? qobject_cast<FirmListWindow*>(m_listSub->widget()) : nullptr;
}

void MainWindow::showList()
{
    if (!m_listSub) {
        auto list = new FirmListWindow(m_dm, m_menus->popup());
        connect(list, &FirmListWindow::excludeRequested, this,
                [this]() { runCommand(Command::Exclude); });
        m_listSub = addChild(list);
        m_listSub->show();
    } else {
        m_mdi->setActiveSubWindow(m_listSub);
        m_listSub->widget()->setFocus();
    }
    repaintList();
    arrange();
}

void MainWindow::setHandler(Command command, Handler handler)
{
    m_handlers.insert(int(command), std::move(handler));
}

void MainWindow::runCommand(Command command, const QString& objectName)
{
    guarded([&] { serveCommand(command, objectName); });
}

void MainWindow::guarded(const std::function<void()>& work)
{
    const size_t busy = m_busy.size();
    try {
        work();
    } catch (const Error& e) {
        // The data module's hourglasses that the error cut short end here.
        while (m_busy.size() > busy)
            m_busy.pop_back();
        showErrorBox(this, e.message());
    }
}

void MainWindow::serveCommand(Command command, const QString& objectName)
{
    if (auto it = m_handlers.find(int(command)); it != m_handlers.end()) {
        it.value()(objectName);
        return;
    }
    switch (command) {
    case Command::SortNazev:
        sortBy(QStringLiteral("nazev"));
        break;
    case Command::SortMisto:
        sortBy(QStringLiteral("misto"));
        break;
    case Command::SortOkres:
        sortBy(QStringLiteral("okres"));
        break;
    case Command::SortPsc:
        sortBy(QStringLiteral("psc"));
        break;
    case Command::ListWindow:
        showList();
        break;
    case Command::TileVertical:
    case Command::TileHorizontal:
    case Command::Cascade:
        m_mdiMod = command == Command::TileVertical     ? 0
                   : command == Command::TileHorizontal ? 1
                                                        : 2;
        arrange();
        break;
    case Command::Link:
        openLink(objectName);
        break;
    case Command::Help:
        showHelp();
        break;
    case Command::About: {
        AboutDialog about(this);
        about.exec();
        break;
    }
    case Command::Language:
        switchLanguage(settings().langBase == 0 ? 500 : 0);
        break;
    case Command::Exit:
        close();
        break;
    default: // the window serving this command is not part of the program yet
        break;
    }
}

void MainWindow::sortBy(const QString& field)
{
    if (!m_dm || !m_dm->firms())
        return;
    BusyCursor busy;
    m_dm->firms()->setSort(field);
}

void MainWindow::openLink(const QString& objectName)
{
    static const QHash<QString, const char*> targets = {
        {QStringLiteral("MIKV"), links::ProductKvelta},
        {QStringLiteral("MIPE"), links::ProductPelorin},
        {QStringLiteral("MITA"), links::ProductTamsik},
        {QStringLiteral("MIVE"), links::ProductVelund},
        {QStringLiteral("MIWAtlas"), links::PortalAtlas},
        {QStringLiteral("MIWSeznam"), links::PortalSeznam},
        {QStringLiteral("MIWPatria"), links::PortalPatria},
        {QStringLiteral("MIWObchrejstrik"), links::CommercialRegister},
        {QStringLiteral("MIWAres"), links::Ares},
    };
    if (const char* url = targets.value(objectName))
        LinkOpener::open(QUrl(QString::fromLatin1(url)), this);
}

void MainWindow::showHelp(const QString& anchor)
{
    // Opened from a modal window (the selection's Help button, F1), the help
    // must belong to it, or the window system gives the help no input.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = this;
    if (!m_help)
        m_help = new HelpWindow(owner);
    else if (m_help->parentWidget() != owner)
        m_help->setParent(owner, m_help->windowFlags());
    // A data folder whose database is a Jet file may come without this help
    // page; the page built into the program stands in for it.
    QString page = dataPath(QStringLiteral("KV2001.html"));
    if (!QFileInfo(page).isFile())
        page = QStringLiteral(":/KV2001.html");
    m_help->showFile(page, anchor);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::switchLanguage(int langBase)
{
    if (settings().langBase == langBase) {
        applyTexts(); // keeps the pressed flag right
        return;
    }
    UiLanguage::apply(langBase);
    applyTexts();
    if (FirmListWindow* list = listWindow())
        list->applyTexts();
    if (m_dm)
        guarded([this] { m_dm->afterFirmMoved(); }); // the status line in the new language
    emit languageChanged();
}

void MainWindow::fillWindowsMenu()
{
    QMenu* menu = m_menus->windowsMenu();
    const QList<QAction*> actions = menu->actions();
    // Keep the three arrange items and the separator after them.
    for (int i = 4; i < actions.size(); ++i) {
        menu->removeAction(actions[i]);
        delete actions[i];
    }
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        QAction* a = menu->addAction(w->windowTitle());
        a->setCheckable(true);
        a->setChecked(w == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, w]() { m_mdi->setActiveSubWindow(w); });
    }
}

void MainWindow::refreshProfile()
{
    // The profile made last, unless it belongs to another main window (two
    // programs in one test process); then this window's own, if any.
    ProfileWindow* profile = profileWindow();
    if (profile && profile->window() != this)
        profile = profileOf(*this);
    if (profile)
        profile->refresh();
}

void MainWindow::repaintList()
{
    if (FirmListWindow* list = listWindow())
        list->repaintList();
}

void MainWindow::setStatusText(int panel, const QString& text)
{
    if (panel < 0 || panel >= 2)
        return;
    // A panel keeps its usual width and grows when a text needs more, so a
    // count is never cut off.
    static constexpr int Widths[2] = {150, 100};
    QLabel* label = m_panels[panel];
    label->setText(text);
    const int frame = 2 * label->frameWidth() + 2 * label->margin() + 6;
    label->setFixedWidth(
        std::max(Widths[panel], label->fontMetrics().horizontalAdvance(text) + frame));
}

QString MainWindow::statusText(int panel) const
{
    return panel >= 0 && panel < 2 ? m_panels[panel]->text() : QString();
}

void MainWindow::setBusy(bool busy)
{
    if (busy)
        m_busy.emplace_back();
    else if (!m_busy.empty())
        m_busy.pop_back();
}

bool MainWindow::hasSplash() const
{
    return !m_splash.isNull();
}

void MainWindow::setSplash(SplashWindow* splash)
{
    m_splash = splash;
}

void MainWindow::setProgressRange(int maximum)
{
    if (m_splash)
        m_splash->setRange(maximum);
}

void MainWindow::stepProgress()
{
    if (m_splash)
        m_splash->step();
}

void MainWindow::updateNavigator()
{
    const bool has = m_dm && m_dm->firms() && m_dm->firms()->recordCount() > 0;
    const int pos = has ? m_dm->firms()->position() : 0;
    const int count = has ? m_dm->firms()->recordCount() : 0;
    m_nav[0]->setEnabled(has && pos > 1);
    m_nav[1]->setEnabled(has && pos > 1);
    m_nav[2]->setEnabled(has && pos < count);
    m_nav[3]->setEnabled(has && pos < count);
}

void MainWindow::activateFromOutside()
{
    if (isMinimized())
        showMaximized();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    QMessageBox box(QMessageBox::Question, loadStr(85),
                    loadStr(185) + QStringLiteral("Kvelta 2001"),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    showMinimized();
    if (m_onClose)
        m_onClose();
    event->accept();
}

} // namespace kv
