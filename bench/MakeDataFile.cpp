// make_datafile PATH [COUNT]: writes a generated data file (100,000 records by default).
#include <cstdio>
#include <cstdlib>

#include "bench/DataGen.h"

int main(int argc, char** argv)
{
    // "--help" or any option is not a file to write over.
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: make_datafile PATH [COUNT]\n");
        return 2;
    }
    int count = argc > 2 ? std::atoi(argv[2]) : 100000;
    if (!WriteGeneratedFile(argv[1], count)) {
        std::fprintf(stderr, "make_datafile: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
