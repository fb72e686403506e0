#include "ui/MenuKeys.h"

#include "ui/MainMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace kv
{

void MenuKeys::installShortcuts(const MainMenus& menus)
{
    // Ctrl keys never clash with the Alt mnemonics of the menu texts.
    static const struct {
        const char* item;
        QKeySequence::StandardKey key;
        const char* own; // used when the platform has no standard key
    } keys[] = {
        {"MINovy", QKeySequence::New, "Ctrl+N"},
        {"MINacist", QKeySequence::Open, "Ctrl+O"},
        {"MIUlozit", QKeySequence::Save, "Ctrl+S"},
        {"MITSeznam", QKeySequence::Print, "Ctrl+P"},
        {"MITxtExport", QKeySequence::UnknownKey, "Ctrl+E"},
        {"MIKonec", QKeySequence::Quit, "Ctrl+Q"},
    };
    for (const auto& k : keys) {
        QAction* a = menus.item(QLatin1String(k.item));
        if (!a)
            continue;
        QList<QKeySequence> seq;
        if (k.key != QKeySequence::UnknownKey)
            seq = QKeySequence::keyBindings(k.key);
        if (seq.isEmpty())
            seq = {QKeySequence(QLatin1String(k.own))};
        a->setShortcuts(seq);
    }
}

QChar MenuKeys::mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] == u'&') { // an escaped ampersand
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return QChar();
}

void MenuKeys::completeMnemonics(const QList<QAction*>& siblings)
{
    QSet<QChar> used;
    for (const QAction* a : siblings)
        if (const QChar m = mnemonic(a->text()); !m.isNull())
            used.insert(m);
    for (QAction* a : siblings) {
        const QString text = a->text();
        if (a->isSeparator() || text.isEmpty() || !mnemonic(text).isNull())
            continue;
        qsizetype at = -1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!text[i].isLetterOrNumber())
                continue;
            if (at < 0)
                at = i; // taken by all others: the first letter still works
            if (!used.contains(text[i].toLower())) {
                at = i;
                break;
            }
        }
        if (at < 0)
            continue;
        used.insert(text[at].toLower());
        a->setText(text.left(at) + u'&' + text.mid(at));
    }
}

void MenuKeys::completeMnemonics(QWidget* owner)
{
    // Direct children only: the child windows' system menus are Qt's own.
    if (auto bar = owner->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly))
        completeMnemonics(bar->actions());
    for (QMenu* menu : owner->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        completeMnemonics(menu->actions());
}

} // namespace kv
