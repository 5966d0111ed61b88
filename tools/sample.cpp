// Writes a synthetic draws archive: kvsample FILE [COUNT] [SEED]. Used to seed the demo data
// directory; the draws are invented, not real results.
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "core/archive/archive.h"
#include "core/archive/sample.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kvsample FILE [COUNT] [SEED]\n");
        return 2;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 2000;
    const unsigned seed = argc > 3 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 8201u;
    try {
        kv::archive::WriteArchiveFile(argv[1], kv::archive::SyntheticDraws(count, seed));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
