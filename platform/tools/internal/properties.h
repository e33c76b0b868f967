// The property formulas behind the air, water and humid-air functions of vireo_tools.h,
// as values in double precision: the C functions hand them on in single precision, and
// the humid-air forms build on the saturation pressure without a round trip through it.
#ifndef VIREO_TOOLS_PROPERTIES_H
#define VIREO_TOOLS_PROPERTIES_H

namespace vireo_tools::properties {

// The status every property function sets on each call.
inline constexpr int kInRange = 0;
inline constexpr int kOutsideRange = -1;  // value extrapolated or held at the nearer end of the range
inline constexpr int kNotANumber = -2;    // an input was NaN or infinite; the value is 0
inline constexpr int kUnknownVariant = -3;

struct Value {
    double value;
    int status;
};

// A value handed on through the C interface: in single precision, held within its range
// so that an extreme input never turns into an infinity, and its status to the caller.
inline float handOn(Value v, int* status) {
    constexpr double kLargest = 3.4028234663852886e38;
    if (status != nullptr) *status = v.status;
    return static_cast<float>(v.value > kLargest ? kLargest : (v.value < -kLargest ? -kLargest : v.value));
}

inline constexpr double kKelvin = 273.15;

namespace water {
inline constexpr double kCriticalK = 647.096;
inline constexpr double kCriticalPa = 22.064e6;
inline constexpr double kTriplePointK = 273.16;
inline constexpr double kTriplePointPa = 611.657;

// Saturation pressure in Pa at t in degC: variant 1 over liquid water, variant 2 over
// ice below the triple point and over liquid above it.
Value saturationPressure(int variant, double t);
// Its inverse: saturation temperature in degC at p in Pa.
Value saturationTemperature(int variant, double p);
// Enthalpies of saturated liquid and vapour in kJ/kg at t in degC.
Value liquidEnthalpy(double t);
Value vapourEnthalpy(double t);
Value evaporationEnthalpy(double t);
}  // namespace water

// Dry air as an ideal gas, t in degC, within 100 K to 2000 K (the nearer end outside).
namespace air {
inline constexpr double kGasConstant = 287.05;     // J/(kg K)
inline constexpr double kReferencePa = 101325.0;   // where the kinematic values are taken
double density(double t, double p);                // kg/m3
double heatCapacity(double t);                     // J/(kg K), ideal gas
double conductivity(double t);                     // W/(m K), dilute gas
double dynamicViscosity(double t);                 // Pa s
}  // namespace air

// Humid air at 101 325 Pa: humidity ratio x in g per kg of dry air, enthalpy h in kJ per
// kg of dry air, relative humidity phi as a fraction, t in degC; saturation over ice
// below the triple point.
namespace humid {
inline constexpr double kPressure = 101325.0;
Value ratioFromRelative(double phi, double t);   // x
Value relativeFromRatio(double x, double t);     // phi, not limited to 1
double enthalpy(double x, double t);             // h
Value temperatureFromEnthalpy(double x, double h);
Value ratioFromEnthalpy(double t, double h);
}  // namespace humid

}  // namespace vireo_tools::properties

#endif
