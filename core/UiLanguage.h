#pragma once

#include <QLocale>

namespace kv
{

// The program's language beyond its own texts: the locale that numbers are
// shown in, and Qt's translations of its own dialogs (buttons of message
// boxes, file, font and print dialogs), both following LangBase.
class UiLanguage
{
public:
    // The locale of a language offset: Czech for 0, English otherwise.
    static QLocale locale(int langBase);
    // The locale of the current language.
    static QLocale current();
    // Sets LangBase and makes the default locale and Qt's own translations
    // follow it. Widgets are told through QEvent::LanguageChange.
    static void apply(int langBase);
    // Whether Qt's translations for the current language are installed.
    static bool qtTranslated();
};

} // namespace kv
