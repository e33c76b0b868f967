// The tilted-surface block's speed: GH2GT stepped through its exported function over the
// example's year of hourly inputs (sun position, incidence angle and sky model in every call), for
// Perez's model (the target: at most 100 ns a call, the sun included), the isotropic sky and
// Hay's, and a bare call of the library's sun-position routine for the same hours. The
// models and the routine are timed in turns, each turn a warming pass and a timed one, and
// each figure is the median of its timed passes. The inputs are copied into IN before each call, as the engine copies them.
// Then SEDES3 over the same hours (best of its passes): a step that computes an hour's
// spectrum, and a step of a wavelength sweep within the hour.
//   vireo_bench_em <libVireoEM.so> [passes]
#include "block_harness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <functional>
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 != 0 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
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

    // One pass over the year for each model and for the routine, in turns, so that a busy
    // machine disturbs them alike; the medians of the passes.
    struct Timed {
        const char* name;
        std::function<void()> pass;
        std::vector<double> ns;
    };
    std::vector<Timed> timed;
    std::vector<BlockInstance> blocks;
    blocks.reserve(3);
    for (const auto& [model, name] : {std::pair{8, "model 8 (Perez)"}, {0, "model 0 (isotropic)"}, {4, "model 4 (Hay)"}}) {
        blocks.emplace_back(library.block("em0008"),
                            vireo_test::Placement{.inputs = kInputs, .parameters = {float(model), 39.742f, 105.179f, 7.0f}});
        if (blocks.back().init() != 0) throw std::runtime_error("GH2GT refused its parameters");
        BlockInstance& b = blocks.back();
        timed.push_back({name, [&b, &year, &checksum, hours] {
                             const auto a = b.arrays();
                             const vireo_test::BlockFunction f = b.function();
                             for (int i = 0; i < hours; ++i) {
                                 std::memcpy(a.IN, &year[std::size_t(i) * kInputs], kInputs * sizeof(float));
                                 a.IP[0] = 0;  // status, call mode and branch as the engine sets them
                                 a.IP[1] = 0;
                                 a.IP[5] = 2;
                                 f(a.IN, a.OUT, a.IP, a.RP, a.DP, a.BP, a.SP);
                                 checksum += a.OUT[0];
                             }
                         }, {}});
    }

    const auto sunae = reinterpret_cast<Sunae>(library.symbol("sunae"));
    if (sunae == nullptr) throw std::runtime_error("no sunae in the library");
    const float latitude = 39.742f, longitude = 105.179f, zone = 7.0f;
    timed.push_back({"sunae alone, Fourier series", [&] {
                         for (int i = 0; i < hours; ++i) {
                             const float* x = &year[std::size_t(i) * kInputs];
                             int series = 1;
                             float azimuth, elevation, declination, hourAngle;
                             sunae(&series, x + 5, x + 6, x + 7, x + 8, x + 9, x + 10, x + 11, &latitude, &longitude,
                                   &zone, &azimuth, &elevation, &declination, &hourAngle);
                             checksum += elevation;
                         }
                     }, {}});
    // Each turn passes once untimed, so that the timed pass finds its code and data warm.
    for (int p = 0; p < passes; ++p)
        for (Timed& t : timed) {
            t.pass();
            t.ns.push_back(bestNanoseconds(1, hours, t.pass));
        }
    std::printf("GH2GT through em0008, a year of hours (%d calls a pass), medians of %d passes in turns:\n", hours,
                passes);
    for (const Timed& t : timed) std::printf("  %s: %6.1f ns a call\n", t.name, median(t.ns));
    std::printf("  target for Perez: at most 100 ns a call\n");

    // SEDES3 over the same year: each hour's first step computes the spectrum, the 110
    // steps after it sweep the wavelength through the kept one (the block's promise: a
    // lookup).
    {
        constexpr int kSweep = 111;
        constexpr int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
        BlockInstance b(library.block("em0033"), {.inputs = 6, .parameters = {39.742f, -105.179f, -7.0f, 1829, 40}});
        if (b.init() != 0) throw std::runtime_error("SEDES3 refused its parameters");
        const auto a = b.arrays();
        const vireo_test::BlockFunction f = b.function();
        const auto step = [&](const float* x, float lambda) {
            const int month = std::clamp(static_cast<int>(x[6]), 1, 12);
            // The day of the year, and the hour's end from its middle.
            const float in[6] = {lambda, x[0], x[1], 10.0f, float(kBefore[month - 1]) + x[7], x[8] + 0.5f};
            std::memcpy(a.IN, in, sizeof in);
            a.IP[0] = 0;
            a.IP[1] = 0;
            a.IP[5] = 2;
            f(a.IN, a.OUT, a.IP, a.RP, a.DP, a.BP, a.SP);
            checksum += a.OUT[0];
        };
        const double computed = bestNanoseconds(std::max(1, passes / 4), hours, [&] {
            for (int i = 0; i < hours; ++i) step(&year[std::size_t(i) * kInputs], 0.55f);
        });
        std::printf("SEDES3 through em0033, a year of hours:\n  a step with a new hour: %9.1f ns\n", computed);
        const double swept = bestNanoseconds(passes, hours * (kSweep - 1), [&] {
            for (int i = 0; i < hours; ++i)
                for (int k = 1; k < kSweep; ++k) step(&year[std::size_t(i) * kInputs], 0.3f + 0.01f * float(k));
        });
        // A noon hour of midsummer kept, only the wavelength changing: the lookup alone.
        const float* noon = &year[std::size_t(24 * 171 + 12) * kInputs];
        step(noon, 0.3f);
        const double lookup = bestNanoseconds(passes, hours, [&] {
            for (int i = 0; i < hours; ++i) step(noon, 0.3f + 0.01f * float(i % kSweep));
        });
        std::printf("  a step of a kept hour (the lookup): %6.1f ns\n", lookup);
        // The sweep's figure holds one new hour in every 110 steps.
        std::printf("  a step of a sweep within the hour: %6.1f ns (a new hour every %d steps)\n", swept, kSweep - 1);
    }
    std::printf("(checksum %g)\n", checksum);
    return 0;
} catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
}
