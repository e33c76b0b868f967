// The tilted-surface block's speed: GH2GT stepped through its exported function over the
// example's year of hourly inputs (sun position, incidence angle and sky model in every call), for
// Perez's model (the target: about 50 ns a call), the isotropic sky and Hay's, and a bare
// call of the library's sun-position routine for the same hours. Each figure is the best
// of several passes over the year. The inputs are copied into IN before each call, as the
// engine copies them.
//   vireo_bench_em <libVireoEM.so> [passes]
#include "block_harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using vireo_test::BlockInstance;
using Sunae = void (*)(int*, const float*, const float*, const float*, const float*, const float*, const float*,
                       const float*, const float*, const float*, const float*, float*, float*, float*, float*);

constexpr int kInputs = 12;

// The example's year at Golden, Colorado (examples/tilted-year-weather.csv, synthetic) on
// a south-facing surface tilted at the latitude: the hour's middle, no daylight saving.
std::vector<float> yearOfInputs(const char* weather) {
    std::ifstream file(weather);
    if (!file) throw std::runtime_error(std::string("cannot read ") + weather);
    std::vector<float> in;
    for (std::string line; std::getline(file, line);) {
        float year, month, day, hour, g, dh;
        if (std::sscanf(line.c_str(), "%f,%f,%f,%f,%f,%f", &year, &month, &day, &hour, &g, &dh) != 6) continue;
        in.insert(in.end(), {g, dh, 39.742f, 180.0f, 0.2f, year, month, day, hour, 0.0f, 0.0f, 0.0f});
    }
    return in;
}

template <class Fn>
double bestNanoseconds(int passes, int calls, Fn&& pass) {
    double best = 1e30;
    for (int p = 0; p < passes; ++p) {
        const auto start = std::chrono::steady_clock::now();
        pass();
        const std::chrono::duration<double, std::nano> t = std::chrono::steady_clock::now() - start;
        best = std::min(best, t.count() / calls);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) try {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <libVireoEM.so> [passes]\n", argv[0]);
        return 2;
    }
    const vireo_test::BlockLibrary library(argv[1]);
    const int passes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    const std::vector<float> year = yearOfInputs(VIREO_BENCH_WEATHER);
    const int hours = static_cast<int>(year.size()) / kInputs;
    double checksum = 0;

    std::printf("GH2GT through em0008, a year of hours (%d calls a pass), best of %d passes:\n", hours, passes);
    for (const auto& [model, name] : {std::pair{8, "Perez"}, {0, "isotropic"}, {4, "Hay"}}) {
        BlockInstance b(library.block("em0008"),
                        {.inputs = kInputs, .parameters = {float(model), 39.742f, 105.179f, 7.0f}});
        if (b.init() != 0) throw std::runtime_error("GH2GT refused its parameters");
        const auto a = b.arrays();
        const vireo_test::BlockFunction f = b.function();
        const double ns = bestNanoseconds(passes, hours, [&] {
            for (int i = 0; i < hours; ++i) {
                std::memcpy(a.IN, &year[std::size_t(i) * kInputs], kInputs * sizeof(float));
                a.IP[0] = 0;  // status, call mode and branch as the engine sets them
                a.IP[1] = 0;
                a.IP[5] = 2;
                f(a.IN, a.OUT, a.IP, a.RP, a.DP, a.BP, a.SP);
                checksum += a.OUT[0];
            }
        });
        std::printf("  model %d (%s): %6.1f ns a call\n", model, name, ns);
    }

    const auto sunae = reinterpret_cast<Sunae>(library.symbol("sunae"));
    if (sunae == nullptr) throw std::runtime_error("no sunae in the library");
    const float latitude = 39.742f, longitude = 105.179f, zone = 7.0f;
    const double ns = bestNanoseconds(passes, hours, [&] {
        for (int i = 0; i < hours; ++i) {
            const float* x = &year[std::size_t(i) * kInputs];
            int series = 1;
            float azimuth, elevation, declination, hourAngle;
            sunae(&series, x + 5, x + 6, x + 7, x + 8, x + 9, x + 10, x + 11, &latitude, &longitude, &zone, &azimuth,
                  &elevation, &declination, &hourAngle);
            checksum += elevation;
        }
    });
    std::printf("  sunae alone, Fourier series: %6.1f ns a call\n", ns);
    std::printf("(checksum %g)\n", checksum);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
}
