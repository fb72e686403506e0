#include "app/Commands.h"

#include <cstdio>
#include <cstring>

namespace kv {

int runKvelta(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("kvelta %s\n", KV_VERSION);
        return 0;
    }
    std::fprintf(stderr, "usage: kvelta [--home DIR]\n");
    return 2;
}

} // namespace kv
