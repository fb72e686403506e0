#pragma once

#include <QList>

class QAction;
class QWidget;

namespace kv
{

class MainMenus;

// The keyboard side of the menus: the usual Ctrl shortcuts of the main
// menu's items, and a mnemonic for every item whose text has none.
class MenuKeys
{
public:
    static void installShortcuts(const MainMenus& menus);
    // Gives each action without a mnemonic the first letter of its text not
    // yet taken by a sibling (or its first letter when all are taken).
    static void completeMnemonics(const QList<QAction*>& siblings);
    // The menu bar and menus that are direct children of owner completed.
    static void completeMnemonics(QWidget* owner);
    // The mnemonic letter of a text, lower case; a null QChar when it has none.
    static QChar mnemonic(const QString& text);
};

} // namespace kv
