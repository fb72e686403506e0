#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace kv
{

// Every command the main window routes. Menu items, pop-up items and tool
// buttons of one row of the command table share one command.
enum class Command {
    None,
    NewSelection,
    EditSelection,
    LoadSelection,
    SaveSelection,
    LoadServerSelection, // shown only when a server is set
    SaveServerSelection,
    SortNazev,
    SortMisto,
    SortOkres,
    SortPsc,
    Exclude,
    ShowExcluded,
    Note,
    ListWindow,
    ProfileWindow,
    DisplaySettings,
    Language,
    PrintList,
    PrintProfiles,       // profiles of all selected firms
    PrintProfileCurrent, // the pop-up item: only the current firm
    PrintLabels,
    Export,
    TileVertical,   // side by side
    TileHorizontal, // one below the other
    Cascade,
    Presentation,
    Link,
    Help,
    About,
    Exit,
};

// The main menu and the pop-up menu, built from one table of object names,
// text ids and commands. Texts are applied from the string table.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    MainMenus(QMenuBar* bar, QWidget* owner);

    QMenu* popup() const { return m_popup; }
    QMenu* windowsMenu() const { return m_windows; }
    // The menu item or pop-up item of that object name (nullptr when unknown).
    QAction* item(const QString& objectName) const { return m_items.value(objectName); }
    void applyTexts();

signals:
    void command(kv::Command command, const QString& objectName);

private:
    struct Entry {
        const char* name;
        int textId;
        Command command;
        int depth; // 0 top level, 1 item, 2 sub-item; name "-" is a separator
    };
    void build(QMenuBar* bar, QMenu* popupRoot, const std::vector<Entry>& entries);

    QMenu* m_popup = nullptr;
    QMenu* m_windows = nullptr;
    QHash<QString, QAction*> m_items;
    QHash<QAction*, int> m_textIds;
};

} // namespace kv
