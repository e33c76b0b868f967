// The short fits of water and humid air that the absorption chiller, the plate heat
// exchanger and the air heater are defined with (T in degC), in one copy.
#ifndef VIREO_ST_WATER_AIR_FITS_H
#define VIREO_ST_WATER_AIR_FITS_H

#include <cmath>

namespace vireo::st::fits {

// Saturation pressure of water vapour, Pa.
inline double saturationPressure(double t) {
    return 611.0 * std::exp(-1.91275e-4 + t * (0.07258 + t * (-2.939e-4 + t * (9.841e-7 + t * -1.92e-9))));
}
// Dry air's specific heat, J/(kg K).
inline double airHeatCapacity(double t) { return 1006.0 + 0.05 * t; }
// Humid air of vapour pressure `vapour` at total pressure p (Pa), kg/m3.
inline double humidAirDensity(double t, double vapour, double p) {
    return (vapour / 462.0 + (p - vapour) / 287.0) / (273.15 + t);
}
// Saturated vapour and saturated liquid water, kJ/kg.
inline double vapourEnthalpy(double t) { return 2501.482 + t * (1.789736 + t * (8.957546e-4 + t * -1.300254e-5)); }
inline double liquidEnthalpy(double t) { return -0.0225 + t * (4.2063437 + t * (-6.014696e-4 + t * 4.381537e-6)); }

}  // namespace vireo::st::fits

#endif
