//#Block ATM1976
//#Description
// The 1976 standard atmosphere: density, pressure and temperature at an altitude, as
// ratios to their values at sea level, from the eight layers of constant temperature
// gradient up to 84.852 km of geopotential altitude (86 km geometric).
//#Layout
//#Inputs 1
//#Outputs 3
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Geometric altitude z, taken within -5 to 100 (km)
//#Outputs
//#OUT[0] Density ratio $\sigma = \delta/\theta$ (-)
//#OUT[1] Pressure ratio $\delta$, to 101 325 Pa (-)
//#OUT[2] Temperature ratio $\theta$, to 288.15 K (-)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The geopotential altitude is $h = r z/(r + z)$ with the earth's radius r = 6369 km.
// Above 84.852 km of geopotential altitude the top layer's 186.946 K holds, with the
// pressure falling as in an isothermal layer: at 90 km temperature and pressure lie within
// 0.2 % of the standard's, at 100 km (where its temperature has risen to 195 K) within
// 5 %. The standard atmosphere starts at -5 km. An altitude that is not a number gives
// zeros.
//#end
#include "blocks.h"

#include <cmath>

namespace vireo::em {
namespace {

struct Layer {
    float base;        // geopotential altitude, km
    float gradient;    // K/km
    float temperature; // at the base, K
    float pressure;    // at the base, over the pressure at sea level
};
constexpr int kLayers = 8;
constexpr Layer kLayer[kLayers] = {
    {0.0f, -6.5f, 288.15f, 1.0f},
    {11.0f, 0.0f, 216.65f, 0.2233611f},
    {20.0f, 1.0f, 216.65f, 0.05403295f},
    {32.0f, 2.8f, 228.65f, 0.0085666784f},
    {47.0f, 0.0f, 270.65f, 0.0010945601f},
    {51.0f, -2.8f, 270.65f, 0.00066063531f},
    {71.0f, -2.0f, 214.65f, 0.000039046834f},
    {84.852f, 0.0f, 186.946f, 0.00000368501f},
};
constexpr float kEarthRadius = 6369.0f;     // km
constexpr float kHydrostatic = 34.163195f;  // g0 M0 / R*, K/km
constexpr float kSeaLevel = 288.15f;        // K
constexpr float kLowest = -5.0f, kHighest = 100.0f;  // km

// The layer of a geopotential altitude: the last whose base lies at or below it (the
// first below sea level). The search runs over all eight bases: a bisection that started
// its upper end at the eighth layer could never reach it.
int layerOf(float h) {
    int i = 0, j = kLayers;
    while (j > i + 1) {
        const int k = (i + j) / 2;
        if (h < kLayer[k].base)
            j = k;
        else
            i = k;
    }
    return i;
}

}  // namespace

void atm1976_block::step(View& b) {
    const float in = b.in(0);
    if (std::isnan(in)) {
        for (int i = 0; i < 3; ++i) b.out(i) = 0.0f;
        return;
    }
    // Below -5 km (where the standard begins) the formulas would run on towards the
    // earth's centre, where the geopotential altitude has no value.
    const float z = in < kLowest ? kLowest : (in > kHighest ? kHighest : in);
    const float h = kEarthRadius * z / (kEarthRadius + z);
    const Layer& l = kLayer[layerOf(h)];
    const float t = l.temperature + l.gradient * (h - l.base);
    const float theta = t / kSeaLevel;
    const float delta = l.gradient != 0.0f ? l.pressure * std::pow(l.temperature / t, kHydrostatic / l.gradient)
                                           : l.pressure * std::exp(-kHydrostatic * (h - l.base) / l.temperature);
    b.out(0) = delta / theta;
    b.out(1) = delta;
    b.out(2) = theta;
}

}  // namespace vireo::em
