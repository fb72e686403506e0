#pragma once

#include <functional>

class QToolButton;
class QWidget;

namespace kv
{

namespace engine
{
class TableCursor;
}

// The row of record-move buttons (first, prior, next, last) that the main
// window's tool bar and the advertisement window both show: a widget named
// "nav" holding tool buttons "navFirst" … "navLast" with the media icons.
// moved(i) is called with the button's index when one is clicked.
QWidget* createNavigatorRow(QWidget* parent, QToolButton* (&buttons)[4],
                            const std::function<void(int)>& moved);

// Moves cursor as the button with index button of such a row asks; throws
// what the cursor throws.
void moveByNavigator(engine::TableCursor& cursor, int button);

} // namespace kv
