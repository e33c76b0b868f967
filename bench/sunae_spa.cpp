// SUNAE's speed against pvlib's NREL SPA (spa_python, numpy mode): the block stepped
// through its exported function over a year of minutes at Golden, Colorado, in each of
// its three series, the inputs copied into IN before each call as the engine copies them;
// and, in the same run, bench/time_spa.py timing SPA over the same year of minutes. The
// two are measured in turns, ROUNDS times, and the medians and the median of the rounds'
// ratios are printed (the target: SUNAE at least 20 times faster a sample). Without a
// pvlib-python source snapshot (argument or VIREO_PVLIB_SRC) only SUNAE is timed.
//   vireo_bench_sunae <libVireoEM.so> [pvlib-python source directory] [rounds]
#include "block_harness.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using vireo_test::BlockInstance;

constexpr int kInputs = 5;  // year, month, day, hour, minute

std::vector<float> yearOfMinutes() {
    const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::vector<float> in;
    in.reserve(std::size_t(525600) * kInputs);
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= days[m - 1]; ++d)
            for (int minute = 0; minute < 1440; ++minute)
                in.insert(in.end(), {2023.0f, float(m), float(d), float(minute / 60), float(minute % 60)});
    return in;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 != 0 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// SPA's nanoseconds a sample by the script, one repeat; negative when it fails.
double spaNanoseconds(const std::string& script, const std::string& pvlib) {
    const std::string command = "/usr/bin/python3 '" + script + "' '" + pvlib + "' 1";
    FILE* p = popen(command.c_str(), "r");
    if (p == nullptr) return -1.0;
    std::string out;  // read to the end, so that the script never writes into a closed pipe
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p) != nullptr) out += buffer;
    double ns = -1.0;
    if (std::sscanf(out.c_str(), "%lf", &ns) != 1) ns = -1.0;
    return pclose(p) == 0 ? ns : -1.0;
}

}  // namespace

int main(int argc, char** argv) try {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <libVireoEM.so> [pvlib-python source directory] [rounds]\n", argv[0]);
        return 2;
    }
    const vireo_test::BlockLibrary library(argv[1]);
    const char* env = std::getenv("VIREO_PVLIB_SRC");
    const std::string pvlib = argc > 2 && argv[2][0] != '\0' ? argv[2] : env != nullptr ? env : "";
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    const std::vector<float> year = yearOfMinutes();
    const int samples = static_cast<int>(year.size()) / kInputs;
    double checksum = 0;

    constexpr std::array<const char*, 3> kSeries{"Fourier series", "ecliptic series 1980", "almanac series 2000"};
    std::vector<BlockInstance> blocks;
    for (int series = 0; series < 3; ++series) {
        blocks.emplace_back(library.block("em0006"),
                            vireo_test::Placement{.inputs = kInputs, .parameters = {float(series), 39.742f, 105.179f, 7.0f}});
        if (blocks.back().init() != 0) throw std::runtime_error("SUNAE refused its parameters");
    }
    const auto pass = [&](BlockInstance& b) {
        const auto a = b.arrays();
        const vireo_test::BlockFunction f = b.function();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < samples; ++i) {
            std::memcpy(a.IN, &year[std::size_t(i) * kInputs], kInputs * sizeof(float));
            a.IP[0] = 0;  // status, call mode and branch as the engine sets them
            a.IP[1] = 0;
            a.IP[5] = 2;
            f(a.IN, a.OUT, a.IP, a.RP, a.DP, a.BP, a.SP);
            checksum += a.OUT[1];
        }
        const std::chrono::duration<double, std::nano> t = std::chrono::steady_clock::now() - start;
        return t.count() / samples;
    };

    std::vector<std::vector<double>> sunae(3);
    std::vector<double> spa, ratios;
    for (int r = 0; r < rounds; ++r) {
        for (int series = 0; series < 3; ++series) sunae[series].push_back(pass(blocks[series]));
        if (pvlib.empty()) continue;
        const double ns = spaNanoseconds(VIREO_BENCH_SPA_SCRIPT, pvlib);
        if (ns <= 0.0) throw std::runtime_error("timing pvlib's SPA failed (see bench/time_spa.py)");
        spa.push_back(ns);
        ratios.push_back(ns / sunae[0].back());
    }
    std::printf("SUNAE through em0006, a year of minutes (%d calls), medians of %d rounds:\n", samples, rounds);
    for (int series = 0; series < 3; ++series)
        std::printf("  series %d (%s): %6.1f ns a call\n", series, kSeries[series], median(sunae[series]));
    if (pvlib.empty()) {
        std::printf("pvlib's SPA not timed: give a pvlib-python source snapshot as the second argument or in "
                    "VIREO_PVLIB_SRC\n");
    } else {
        std::printf("pvlib spa_python (numpy), the same year of minutes: %6.1f ns a sample\n", median(spa));
        std::printf("  ratio SPA / SUNAE series 0: %.1f (median of the rounds' ratios; target at least 20)\n",
                    median(ratios));
        std::printf("  ratios of the series 1 and 2: %.1f %.1f (of the medians)\n", median(spa) / median(sunae[1]),
                    median(spa) / median(sunae[2]));
    }
    std::printf("(checksum %g)\n", checksum);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
}
