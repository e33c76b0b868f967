// Calls water and steam routines from the command line, the way a block would, so that
// the tests can watch the real end of the process:
//   steam_probe ROUTINE ARG... [-- ROUTINE ARG...]...
// Before the first call it writes through C stdio and C++ streams without flushing; after
// each call it prints the result. An exit handler and a static destructor write too, so a
// test sees anything that runs after the report.
#include "steam.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct WritesAtTheEnd {
    ~WritesAtTheEnd() { std::fputs("static destructor\n", stdout); }
};
WritesAtTheEnd writesAtTheEnd;

void exitHandler() { std::fputs("exit handler\n", stdout); }

double number(const std::vector<std::string>& args, std::size_t i) {
    if (i >= args.size()) {
        std::fprintf(stderr, "steam_probe: missing argument %zu\n", i);
        std::exit(64);
    }
    return std::strtod(args[i].c_str(), nullptr);
}

// Runs one routine; returns false for an unknown name.
bool call(const std::vector<std::string>& args) {
    const std::string& routine = args[0];
    double a = args.size() > 1 ? number(args, 1) : 0.0;
    double b = args.size() > 2 ? number(args, 2) : 0.0;
    double result = 0.0;
    if (routine == "vpt1") result = vpt1_(&a, &b);
    else if (routine == "hpt1") result = hpt1_(&a, &b);
    else if (routine == "spt1") result = spt1_(&a, &b);
    else if (routine == "vpt2") result = vpt2_(&a, &b);
    else if (routine == "hpt2") result = hpt2_(&a, &b);
    else if (routine == "spt2") result = spt2_(&a, &b);
    else if (routine == "psatt") result = psatt_(&a);
    else if (routine == "psl1") result = psl1_(&a);
    else if (routine == "tsatp") result = tsatp_(&a);
    else if (routine == "p23t") result = p23t_(&a);
    else if (routine == "t23p") result = t23p_(&a);
    else if (routine == "splim") {  // splim X CODE UPPER LOWER NAME
        const int code = static_cast<int>(number(args, 2));
        double upper = number(args, 3);
        double lower = number(args, 4);
        const std::string name = args.size() > 5 ? args[5] : "";
        splim_(&a, &code, name.c_str(), &upper, &lower, name.size());
    } else if (routine == "ster") {  // ster CODE X1 X2 NAME
        const int code = static_cast<int>(a);
        double x1 = number(args, 2);
        double x2 = number(args, 3);
        const std::string name = args.size() > 4 ? args[4] : "";
        ster_(name.c_str(), &code, &x1, &x2, name.size());
    } else {
        return false;
    }
    std::printf("%s %.9g\n", routine.c_str(), result);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::atexit(exitHandler);
    std::printf("written before\n");
    std::cout << "from cout\n";
    std::vector<std::string> args;
    for (int i = 1; i <= argc; ++i) {
        if (i == argc || std::strcmp(argv[i], "--") == 0) {
            if (!args.empty() && !call(args)) {
                std::fprintf(stderr, "steam_probe: unknown routine %s\n", args[0].c_str());
                return 64;
            }
            args.clear();
        } else {
            args.emplace_back(argv[i]);
        }
    }
    std::printf("end of probe\n");
    return 0;
}
