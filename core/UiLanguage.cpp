#include "core/UiLanguage.h"

#include "core/Settings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kv
{

namespace
{

// Qt's own strings are written in English, so English needs no catalogue.
QTranslator*& qtTranslator()
{
    static QTranslator* translator = nullptr;
    return translator;
}

} // namespace

QLocale UiLanguage::locale(int langBase)
{
    QLocale l = langBase == 500 ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                                : QLocale(QLocale::Czech, QLocale::CzechRepublic);
    // Counts and measures read better without thousands separators here.
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

QLocale UiLanguage::current()
{
    return locale(settings().langBase);
}

void UiLanguage::apply(int langBase)
{
    settings().langBase = langBase;
    QLocale::setDefault(locale(langBase));
    auto* app = QCoreApplication::instance();
    if (!app)
        return;
    QTranslator*& translator = qtTranslator();
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    if (langBase != 500) {
        auto* t = new QTranslator(app);
        if (t->load(locale(langBase), QStringLiteral("qtbase"), QStringLiteral("_"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(t);
            translator = t;
        } else {
            delete t;
        }
    }
    // Installing a catalogue announces the change itself, but without one
    // (English, or none installed) the windows must still hear of it.
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(app, &change);
    // The application passes the news on to its windows by posted events;
    // deliver them now so the switch is complete when this returns.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

bool UiLanguage::qtTranslated()
{
    return qtTranslator() != nullptr;
}

} // namespace kv
