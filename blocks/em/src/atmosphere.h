// Formulas of the clear atmosphere that several blocks and routines share: relative air
// mass, precipitable water from the dew point, and the water-vapour transmittance of a
// band. Templates where one caller works in single and another in double precision.
#ifndef VIREO_EM_ATMOSPHERE_H
#define VIREO_EM_ATMOSPHERE_H

#include <cmath>

namespace vireo::em {

// Air mass of the forms 1 / (cos z + a (reach - z)^-b), z in degrees: Kasten (1966),
// reach 93.885, and Kasten and Young (1989), reach 96.07995. At and beyond its reach a
// form has no value (a negative number raised to a real power) and gives `noValue`, as
// does a denominator of 0.
template <class T>
T airMassOf(T zenith, T cosZenith, T a, T reach, T b, T noValue) {
    if (!(zenith < reach)) return noValue;
    const T d = cosZenith + a * std::pow(reach - zenith, -b);
    return d != T(0) ? T(1) / d : noValue;
}
inline constexpr double kKastenReach = 93.885;
inline constexpr double kKastenYoungReach = 96.07995;
template <class T>
T kastenAirMass(T zenith, T cosZenith, T noValue, T reach = T(kKastenReach)) {
    return airMassOf(zenith, cosZenith, T(0.15), reach, T(1.253), noValue);
}
template <class T>
T kastenYoungAirMass(T zenith, T cosZenith, T noValue) {
    return airMassOf(zenith, cosZenith, T(0.50572), T(kKastenYoungReach), T(1.6364), noValue);
}

// Precipitable water (cm) from the dew point (degC) by five correlations w = exp(a Td + b),
// 1 to 5; any other number takes the first.
inline float precipitableWater(int correlation, float dewPoint) {
    constexpr float kCoefficients[5][2] = {
        {0.0691f, -0.0592f}, {0.0693f, -0.0756f}, {0.0614f, 0.1101f}, {0.0707f, -0.0202f}, {0.0707f, 0.0416f}};
    const auto& c = kCoefficients[correlation >= 1 && correlation <= 5 ? correlation - 1 : 0];
    return std::exp(c[0] * dewPoint + c[1]);
}

// Transmittance of a band of water-vapour absorption coefficient c over the water path u
// (precipitable water times air mass), in Leckner's form as Bird and Riordan use it. A path
// below 0 is no path.
template <class T>
T waterVapourTransmittance(T c, T u) {
    const T cu = u > T(0) ? c * u : T(0);
    return std::exp(T(-0.2385) * cu / std::pow(T(1) + T(20.07) * cu, T(0.45)));
}

}  // namespace vireo::em

#endif
