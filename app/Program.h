#pragma once

namespace kv
{

// The whole program: a command word (or --help, --version) goes to the
// headless commands of cli/, anything else starts the desktop program with
// its own options. Returns the process exit code.
int runProgram(int argc, char** argv);

} // namespace kv
