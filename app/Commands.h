#pragma once

namespace kv
{

// Parses the command line and runs either the desktop program or one of the
// headless subcommands. Returns the process exit code.
int runKvelta(int argc, char** argv);

} // namespace kv
