#pragma once

#include <functional>

class QToolButton;
class QWidget;

namespace kv
{

// The row of record-move buttons (first, prior, next, last) that the main
// window's tool bar and the advertisement window both show: a widget named
// "nav" holding tool buttons "navFirst" … "navLast" with the media icons.
// moved(i) is called with the button's index when one is clicked.
QWidget* createNavigatorRow(QWidget* parent, QToolButton* (&buttons)[4],
                            const std::function<void(int)>& moved);

} // namespace kv
