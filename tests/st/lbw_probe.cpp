// Calls the lithium-bromide/water routines of libVireoST from the command line, in a
// process of their own, so that a test sees exactly what they write to standard output
// and what they write once per process:
//   lbw_probe ROUTINE ARG... [-- ROUTINE ARG...]...
// ROUTINE is lbwh, lbwt, lbwp or lbwx (two values and a model) or flbwp or flbwx (one
// value). Each result goes to standard error, one line per call; standard output holds
// only what the routines write.
#include "block_harness.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Property = float (*)(const float*, const float*, const int*);
using Residual = float (*)(const float*);

template <class F>
F routine(const std::string& name) {
    return reinterpret_cast<F>(vireo_test::library("VireoST").symbol(name));
}

bool call(const std::vector<std::string>& args) {
    const std::string& name = args[0];
    const auto value = [&](std::size_t i) { return i < args.size() ? std::strtof(args[i].c_str(), nullptr) : 0.0f; };
    const float a = value(1), b = value(2);
    const int model = static_cast<int>(value(3));
    float result = 0.0f;
    if (name == "flbwp" || name == "flbwx") {
        const auto f = routine<Residual>(name);
        if (f == nullptr) return false;
        result = f(&a);
    } else {
        const auto f = routine<Property>(name);
        if (f == nullptr) return false;
        result = f(&a, &b, &model);
    }
    std::fprintf(stderr, "%.9g\n", static_cast<double>(result));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i <= argc; ++i) {
        if (i == argc || std::string(argv[i]) == "--") {
            if (!args.empty() && !call(args)) {
                std::fprintf(stderr, "lbw_probe: no routine %s\n", args[0].c_str());
                return 64;
            }
            args.clear();
        } else {
            args.emplace_back(argv[i]);
        }
    }
    return 0;
}
