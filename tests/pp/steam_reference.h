// IAPWS-IF97 values of water and steam for the steam-cycle tests, from the committed
// table that make_steam_cycle_reference.py writes with python3-iapws: the saturation line
// and the enthalpy every 2 K at the pressures of the tests, isentropic drops, and seeded
// sweeps of steam-generator states with the water's inlet enthalpy and of water heating
// water with both inlet enthalpies.
#ifndef VIREO_TEST_PP_STEAM_REFERENCE_H
#define VIREO_TEST_PP_STEAM_REFERENCE_H

#include <cmath>
#include <cstddef>
#include <stdexcept>

namespace pp_reference {

struct Isobar {
    double p, ts, hf, hg;
    double h[191];
};
struct Expansion {
    double p1, t1, p2, drop, quality;
};
struct GeneratorState {
    double oil, oilFlow, water, waterFlow, p, hIn;  // degC, kg/s, degC, kg/s, Pa, J/kg
};
struct WaterPair {
    double t1, m1, p1, t2, m2, p2, h1In, h2In;  // each side degC, kg/s, Pa; then J/kg
};

#include "steam_cycle_reference.inc"

inline const Isobar& isobar(double p) {
    for (const Isobar& b : kIsobars)
        if (b.p == p) return b;
    throw std::invalid_argument("no IF97 isobar at this pressure");
}

// Enthalpy of the liquid below and the vapour above the saturation temperature, linear
// between table points (within 0.05 kJ/kg); a bracket across saturation ends there.
inline double enthalpy(double p, double t) {
    const Isobar& b = isobar(p);
    const std::size_t k = static_cast<std::size_t>(std::floor((t - kLowest) / kStep));
    if (k + 1 >= std::size(b.h) || t < kLowest) throw std::invalid_argument("temperature outside the IF97 table");
    double t0 = kLowest + kStep * static_cast<double>(k), t1 = t0 + kStep, h0 = b.h[k], h1 = b.h[k + 1];
    if (t <= b.ts && t1 > b.ts) t1 = b.ts, h1 = b.hf;
    if (t > b.ts && t0 < b.ts) t0 = b.ts, h0 = b.hg;
    return h0 + (h1 - h0) * (t - t0) / (t1 - t0);
}

}  // namespace pp_reference

#endif
