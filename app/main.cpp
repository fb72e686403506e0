// kvelta: without a subcommand the desktop program, with one a headless tool.
#include "app/Commands.h"

int main(int argc, char** argv)
{
    return kv::runKvelta(argc, argv);
}
