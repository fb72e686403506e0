#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kvtest
{

// A small generated data home (demo generator) for window tests. One per
// firm count is made per test binary and shared, since the data home is
// only read.
QString demoHome(int firms);

} // namespace kvtest
