// Writes the start tables of the inverse routines (blocks/pp/src/inverse_starts.inc) to
// standard output: least-squares fits of the temperature and of its slope (1/cp, in
// °F per Btu/lbm for the enthalpy routines and per unit ln T for the entropy ones) over
// states that the library's own forward routines give. A test runs it again and compares
// with the committed table, so the table stays what this program makes.
#include "inverse_start.h"
#include "least_squares.h"
#include "steam_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using vireo::steam::cornerEntropy;
using vireo::steam::kStartTerms;
using vireo::steam::Property;

constexpr double kPc = 3208.234758592228;
constexpr double kCriticalTemperature = 705.47;

struct Sample {
    std::array<double, kStartTerms> term;
    double temperature;
    double slope;
};

std::array<double, kStartTerms> fit(const std::vector<Sample>& samples, bool slope) {
    std::vector<std::vector<double>> rows;
    std::vector<double> targets;
    for (const auto& sample : samples) {
        rows.emplace_back(sample.term.begin(), sample.term.end());
        targets.push_back(slope ? sample.slope : sample.temperature);
    }
    const auto c = vireo_fit::leastSquares(rows, targets);
    std::array<double, kStartTerms> terms{};
    std::copy(c.begin(), c.end(), terms.begin());
    return terms;
}

std::vector<double> geometric(double from, double to, int count) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i) values.push_back(from * std::pow(to / from, static_cast<double>(i) / (count - 1)));
    return values;
}

// Vapour states from the saturation line (above the critical pressure from the critical
// temperature) to 1600 °F, denser near the lower end where the start matters most.
template <class Visit>
void vapourStates(const std::vector<double>& pressures, Visit visit) {
    for (const double p : pressures) {
        const double low = p <= kPc ? vireo::steam::saturationTemperatureOf(p) : kCriticalTemperature;
        for (int i = 0; i <= 48; ++i) {
            const double u = i / 48.0;
            const double t = low + (1600.0 - low) * u * u;
            if (!vireo::steam::vapourSideAccepts(p, t)) continue;
            visit(p, t);
        }
    }
}

template <class Visit>
void liquidStates(Visit visit) {
    for (const double p : geometric(0.1, 16000.0, 40)) {
        const double high = p <= kPc ? vireo::steam::saturationTemperatureOf(p) : kCriticalTemperature;
        for (int i = 0; i <= 40; ++i) {
            const double t = 30.0 + (high - 30.0) * i / 40.0;
            if (!vireo::steam::liquidSideAccepts(p, t) || !vireo::steam::liquidHeatCapacityAccepts(p, t)) continue;
            visit(p, t);
        }
    }
}


// One set of a vapour routine: the states of its pressures that `member` keeps.
using Member = std::function<bool(double p, double value)>;

void vapourSet(std::vector<double>& table, int first, const std::vector<double>& pressures, Property property,
               bool pressureItself, const Member& member) {
    std::vector<Sample> samples;
    vapourStates(pressures, [&](double p, double t) {
        const double value = vireo::steam::vapourSide(property, p, t);
        if (!member(p, value)) return;
        Sample sample{};
        const double x = pressureItself ? p : std::log(p);
        const double y = property == Property::enthalpy ? value / 100.0 : value;
        vireo::steam::vapourStartTerms(x, y, sample.term.data());
        sample.temperature = t;
        sample.slope = 1.0 / vireo::steam::vapourHeatCapacity(p, t);
        samples.push_back(sample);
    });
    const auto temperature = fit(samples, false);
    const auto slope = fit(samples, true);
    std::copy(temperature.begin(), temperature.end(), table.begin() + first);
    std::copy(slope.begin(), slope.end(), table.begin() + first + 20);
}

void liquidSet(std::vector<double>& table, Property property) {
    std::vector<Sample> samples;
    liquidStates([&](double p, double t) {
        const double value = vireo::steam::liquidSide(property, p, t);
        const bool enthalpy = property == Property::enthalpy;
        if (enthalpy ? (value < -0.02 || value > 906.1) : (value < -5e-05 || value > 1.065)) return;
        Sample sample{};
        const double z = enthalpy ? (value + 500.0) / 100.0 : value + 1.0;
        vireo::steam::liquidStartTerms(std::log(std::max(p, 200.0)), z, sample.term.data());
        sample.temperature = t;
        sample.slope = 1.0 / vireo::steam::liquidHeatCapacity(p, t);
        samples.push_back(sample);
    });
    const auto temperature = fit(samples, false);
    const auto slope = fit(samples, true);
    std::copy(temperature.begin(), temperature.end(), table.begin());
    std::copy(slope.begin(), slope.end(), table.begin() + 20);
}

void print(const char* name, const std::vector<double>& table) {
    std::printf("    // %s\n    {", name);
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::printf("%s%.10e,", i % 4 == 0 ? "\n        " : " ", table[i]);
    }
    std::printf("\n    },\n");
}

}  // namespace

int main() {
    const auto low = geometric(0.08, 500.0, 30);
    const auto high = geometric(500.0, 16000.0, 40);
    const auto corner = geometric(2500.0, 16000.0, 30);
    // Each set is fitted a little beyond the states it serves, so that its start stays
    // good up to its border.
    std::vector<double> tph(120), tps(120), tphl(40), tpsl(40);
    const auto inH = [](double, double h) { return h >= 500.0 && h <= 1860.0; };
    vapourSet(tph, 0, low, Property::enthalpy, true, inH);
    vapourSet(tph, 40, high, Property::enthalpy, false,
              [&](double p, double h) { return inH(p, h) && !(p > 2600.0 && h < 1250.0); });
    vapourSet(tph, 80, corner, Property::enthalpy, false, [&](double, double h) { return inH(0, h) && h < 1310.0; });
    const auto inS = [](double, double s) { return s >= 0.804 && s <= 3.0; };
    vapourSet(tps, 0, low, Property::entropy, false, inS);
    vapourSet(tps, 40, high, Property::entropy, false,
              [&](double p, double s) { return inS(p, s) && !(p > 2600.0 && s < cornerEntropy(p) - 0.02); });
    vapourSet(tps, 80, corner, Property::entropy, false,
              [&](double p, double s) { return inS(p, s) && s < cornerEntropy(p) + 0.02; });
    liquidSet(tphl, Property::enthalpy);
    liquidSet(tpsl, Property::entropy);
    std::printf("// Made by tests/steam/make_inverse_starts.cpp; do not edit.\n");
    std::printf("#include \"inverse_start.h\"\n\nnamespace vireo::steam {\n\nconst StartTables kStartTables = {\n");
    print("tph: temperature and slope of the low-pressure, high-pressure and corner sets", tph);
    print("tps: the same in entropy", tps);
    print("tphl", tphl);
    print("tpsl", tpsl);
    std::printf("};\n\n}  // namespace vireo::steam\n");
    return 0;
}
