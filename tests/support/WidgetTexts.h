#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace kvtest
{

// One text a user sees on a widget: its caption, title, hint, placeholder,
// menu item or column title.
struct ShownText {
    QWidget* widget;
    QString where; // class and object name, for the failure message
    QString text;
};

// Every text the widget and its descendants show, menus included.
QList<ShownText> shownTexts(QWidget* root);

// The texts of the string table that belong to one language only: those of
// the language (0 or 500) whose row differs from the other language's,
// without accelerator marks and surrounding spaces.
QList<QString> languageOnlyTexts(int langBase);

// Whether a shown text is (or begins with) one of those texts.
bool showsTextOf(const QString& shown, const QList<QString>& languageOnly);

} // namespace kvtest
