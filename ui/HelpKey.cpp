#include "ui/HelpKey.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace kv
{

HelpKey::HelpKey(ShowHelp show, QObject* parent) : QObject(parent), m_show(std::move(show))
{
    qApp->installEventFilter(this);
}

QString HelpKey::anchorFor(const QWidget* widget)
{
    // Window object names and the anchors of their topics in the help page.
    static const QHash<QString, QString> topics = {
        {QStringLiteral("FSeznam"), QStringLiteral("seznam")},
        {QStringLiteral("FProfil"), QStringLiteral("profil")},
        {QStringLiteral("FVyber"), QStringLiteral("vyber")},
        {QStringLiteral("FVyberDetail"), QStringLiteral("detail")},
        {QStringLiteral("FVyberZatrid"), QStringLiteral("hledatobor")},
        {QStringLiteral("FTip"), QStringLiteral("tip")},
        {QStringLiteral("FVyjmute"), QStringLiteral("vyjmute")},
        {QStringLiteral("FPozn"), QStringLiteral("poznamky")},
        {QStringLiteral("FExport"), QStringLiteral("export")},
        {QStringLiteral("FSetSeznam"), QStringLiteral("tiskseznam")},
        {QStringLiteral("FSetProfil"), QStringLiteral("tiskprofil")},
        {QStringLiteral("FSetLabel"), QStringLiteral("stitky")},
        {QStringLiteral("FSetLabelDetail"), QStringLiteral("obsahstitku")},
        {QStringLiteral("FPreview"), QStringLiteral("nahled")},
        {QStringLiteral("FNastaveni"), QStringLiteral("nastaveni")},
        {QStringLiteral("FPrezentace"), QStringLiteral("prezentace")},
        {QStringLiteral("FReklama"), QStringLiteral("reklama")},
        {QStringLiteral("FAbout"), QStringLiteral("oprogramu")},
        {QStringLiteral("FMain"), QStringLiteral("hlavni")},
    };
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        // In the main window the active child window (list, profile) decides.
        const auto area = w->isWindow() ? w->findChild<QMdiArea*>() : nullptr;
        if (area && area->activeSubWindow() && area->activeSubWindow()->widget()) {
            const QString a = topics.value(area->activeSubWindow()->widget()->objectName());
            if (!a.isEmpty())
                return a;
        }
        const QString a = topics.value(w->objectName());
        if (!a.isEmpty())
            return a;
    }
    return QString();
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            QWidget* front = QApplication::activeModalWidget();
            if (!front)
                front = QApplication::activeWindow();
            if (!front)
                front = static_cast<QWidget*>(watched);
            m_show(anchorFor(front));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kv
