#pragma once

class QWidget;

namespace kv
{

class SelectionWindow;

// Saving and loading selections on the server of settings().database, for
// the selection window's buttons and the main menu. A server that cannot be
// reached or refuses gets message 279 with its reason; the criteria stay
// as they were.

// Whether a server is set (the commands are shown only then).
bool hasSelectionServer();

// Asks for a name (the saved ones listed) and saves the window's criteria
// under it; a name of one's own that is taken is replaced after asking
// (text 277), another author's is refused (text 278) and the name asked
// again. Returns whether it was saved.
bool saveSelectionToServer(SelectionWindow& vyber, QWidget* parent);

// Lets the user pick a saved selection and reads it into the window's
// criteria, which are shown; OK is not run. Returns whether it loaded.
bool loadSelectionFromServer(SelectionWindow& vyber, QWidget* parent);

} // namespace kv
