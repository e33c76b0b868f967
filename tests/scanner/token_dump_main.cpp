// scanner_token_dump MODEL: the tokens of a model file, one a line on standard error
// ("file:line TOKEN value"), so that standard output holds only what the scanner itself
// prints (copied unknown characters and messages). Exit status 1 when errors were counted.
#include "RootClass.h"
#include "token_dump.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: scanner_token_dump MODEL\n");
        return 2;
    }
    for (const auto& t : vireo_test::scanFile(argv[1])) std::fprintf(stderr, "%s\n", vireo_test::dumpLine(t).c_str());
    std::fflush(stdout);
    return RootClass::_errors > 0 ? 1 : 0;
}
