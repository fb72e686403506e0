#pragma once

#include <QString>

namespace kvtest
{

// A generated data home with 2,000 firms (demoHome), only read. Its town
// dictionary holds "Praha".
QString vyberDemoHome();

// Number of rows a select over the home's database returns.
int vyberRowCount(const QString& statement);

} // namespace kvtest
