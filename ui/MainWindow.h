#pragma once

#include "domain/DataModule.h"
#include "ui/BusyCursor.h"
#include "ui/MainMenus.h"

#include <QMainWindow>
#include <QPointer>
#include <deque>
#include <functional>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolButton;

namespace kv
{

class FirmListWindow;
class SplashWindow;
class HelpWindow;
class QuickFindBox;

// The main window: a frame holding the list and profile windows, with the
// menus, the toolbar and its record navigator, and the status bar. It routes
// every command to the window or operation that serves it.
class MainWindow : public QMainWindow, public DataViews
{
    Q_OBJECT
public:
    MainWindow(DataModule* dm, int mdiMod, QWidget* parent = nullptr);
    ~MainWindow() override;

    void applyTexts();
    int mdiMode() const { return m_mdiMod; }
    void setMdiMod(int mode) { m_mdiMod = mode; }
    // Arranges the child windows by MdiMod now / after the current event.
    void arrange();
    void postArrange();

    // Creates the list window, or brings the open one forward.
    void showList();
    // Adds a child window to the frame (the list, the profile).
    QMdiSubWindow* addChild(QWidget* child);

    MainMenus* menus() const { return m_menus; }
    QMdiArea* mdiArea() const { return m_mdi; }
    FirmListWindow* listWindow() const;
    QString statusText(int panel) const;
    QuickFindBox* quickFind() const { return m_quickFind; }

    // Commands whose windows other parts of the program provide register a
    // handler here; a command without one does nothing.
    using Handler = std::function<void(const QString& objectName)>;
    void setHandler(Command command, Handler handler);
    void runCommand(Command command, const QString& objectName = QString());

    // Called once the user confirmed closing; writes the configuration.
    void setOnClose(std::function<void()> onClose) { m_onClose = std::move(onClose); }
    // Opens the help at its contents or at a topic's anchor ("vyber").
    void showHelp(const QString& anchor = QString());
    // Brings the window forward at another start's request.
    void activateFromOutside();

    // DataViews
    void refreshProfile() override;
    void repaintList() override;
    void setStatusText(int panel, const QString& text) override;
    void setBusy(bool busy) override;
    bool hasSplash() const override;
    void setProgressRange(int maximum) override;
    void stepProgress() override;
    void setSplash(SplashWindow* splash);

signals:
    void languageChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar();
    void buildStatusBar();
    void updateNavigator();
    void sortBy(const QString& field);
    void serveCommand(Command command, const QString& objectName);
    // Runs work from a slot: an Error is shown in the error box and the
    // hourglasses it left are ended, so that the window stays usable.
    void guarded(const std::function<void()>& work);
    void openLink(const QString& objectName);
    void switchLanguage(int langBase);
    void fillWindowsMenu();
    // Moves and shrinks child windows that lie partly outside the frame.
    void keepChildrenReachable();

    DataModule* m_dm;
    int m_mdiMod = 0;
    QMdiArea* m_mdi = nullptr;
    MainMenus* m_menus = nullptr;
    QToolButton* m_nav[4] = {};
    QLabel* m_panels[2] = {};
    QPointer<QMdiSubWindow> m_listSub;
    QPointer<HelpWindow> m_help;
    QHash<int, Handler> m_handlers;
    std::function<void()> m_onClose;
    QPointer<SplashWindow> m_splash;
    QuickFindBox* m_quickFind = nullptr;
    // One hourglass per setBusy(true) not yet ended: the data module nests them.
    std::deque<BusyCursor> m_busy;
};

} // namespace kv
