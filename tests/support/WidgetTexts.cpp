#include "tests/support/WidgetTexts.h"

#include "core/StringTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>

namespace kvtest
{

namespace
{

QString plain(QString s)
{
    s.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    s.remove(QLatin1Char('&'));
    s.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return s.trimmed();
}

void addActions(QList<ShownText>& out, QWidget* owner, const QList<QAction*>& actions, int depth)
{
    for (QAction* a : actions) {
        // Unnamed actions are Qt's own (a child window's system menu).
        if (a->isSeparator() || a->objectName().isEmpty())
            continue;
        out.append({owner, QStringLiteral("action ") + a->objectName(), a->text()});
        if (a->menu() && depth < 4)
            addActions(out, a->menu(), a->menu()->actions(), depth + 1);
    }
}

QString where(QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
}

} // namespace

QList<ShownText> shownTexts(QWidget* root)
{
    QList<ShownText> out;
    QList<QWidget*> widgets{root};
    widgets += root->findChildren<QWidget*>();
    for (QWidget* w : widgets) {
        // Dialogs owned by this window are walked when they are shown.
        if (w->window() != root->window() && !qobject_cast<QMenu*>(w))
            continue;
        const auto add = [&](const QString& text) {
            if (!text.trimmed().isEmpty())
                out.append({w, where(w), text});
        };
        if (w->isWindow() || w->inherits("QMdiSubWindow"))
            add(w->windowTitle());
        add(w->toolTip());
        if (auto l = qobject_cast<QLabel*>(w))
            add(l->text());
        if (auto b = qobject_cast<QAbstractButton*>(w))
            add(b->text());
        if (auto g = qobject_cast<QGroupBox*>(w))
            add(g->title());
        if (auto e = qobject_cast<QLineEdit*>(w))
            add(e->placeholderText());
        if (auto t = qobject_cast<QTableWidget*>(w))
            for (int c = 0; c < t->columnCount(); ++c)
                if (QTableWidgetItem* h = t->horizontalHeaderItem(c))
                    add(h->text());
        addActions(out, w, w->actions(), 0);
    }
    return out;
}

QList<QString> languageOnlyTexts(int langBase)
{
    const int other = langBase == 0 ? 500 : 0;
    QList<QString> out;
    for (int id = 1; id <= 299; ++id) {
        const QString mine = plain(kv::loadStr(id, langBase));
        if (mine.size() >= 2 && mine != plain(kv::loadStr(id, other)))
            out.append(mine);
    }
    return out;
}

bool showsTextOf(const QString& shown, const QList<QString>& languageOnly)
{
    const QString s = plain(shown);
    for (const QString& t : languageOnly) {
        if (s == t)
            return true;
        // Composed texts ("Záznam  3 / 60") begin with a table text.
        if (t.size() >= 6 && s.startsWith(t) && !s.at(t.size()).isLetter())
            return true;
    }
    return false;
}

} // namespace kvtest
