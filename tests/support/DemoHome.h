#pragma once

#include <QString>
#include <cstdint>

namespace kvtest
{

// A generated data home (demo generator) for tests that read one. ctest runs
// every test case as its own process, so the home is generated once per test
// program and firm count into a template beside the program (rebuilt when
// the program changes), and each process gets its own copy, made of hard
// links: the program replaces files by renaming, never in place, so the
// template stays as generated. Throws std::runtime_error when generating fails.
QString demoHome(int firms, std::uint64_t seed = 2001);

// The template itself: a test that only reads files may use it directly.
QString demoHomeTemplate(int firms, std::uint64_t seed = 2001);

// The 2,000-firm home the selection tests read. Its town dictionary holds
// "Praha".
QString selectionDemoHome();

// Number of rows a select over that home's database returns.
int demoRowCount(const QString& statement);

} // namespace kvtest
