// kvelta: without a subcommand the desktop program, with one a headless tool.
#include "app/Program.h"

int main(int argc, char** argv)
{
    return kv::runProgram(argc, argv);
}
