#pragma once

// Steps of the selection window that several journeys take, with input
// through the window system.

#include <QString>

namespace kvtest::selection
{

// The text the user sees in a row's box (edMisto, edNazev, ...).
QString rowText(const char* edit);

// Clicks the row's label, types prefix into the dictionary box and
// double-clicks the first line the dictionary offers. Fails the test when
// the dictionary offers none.
void pickFirstLine(const char* rowLabel, const QString& prefix);

} // namespace kvtest::selection
