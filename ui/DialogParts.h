#pragma once

#include <QPushButton>
#include <QRect>

namespace kv
{
// A button placed at fixed coordinates that Enter never presses: in these
// dialogs Enter belongs to the list or the search box.
inline QPushButton* makeButton(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    return b;
}

} // namespace kv
