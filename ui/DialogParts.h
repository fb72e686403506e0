#pragma once

#include <QApplication>
#include <QPushButton>
#include <QRect>

namespace kv
{

// Hourglass for the lifetime of the object, also when an error leaves early.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

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
