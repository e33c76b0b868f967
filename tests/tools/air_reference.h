// Dry air at atmospheric pressure as published: Incropera, DeWitt, Bergman and Lavine,
// Fundamentals of Heat and Mass Transfer (6th ed.), table A.4. Its densities are those of
// 1 bar (100 kPa), and so are its kinematic viscosity and its thermal diffusivity.
#ifndef VIREO_TEST_AIR_REFERENCE_H
#define VIREO_TEST_AIR_REFERENCE_H

namespace air_reference {

struct Row {
    double kelvin;
    double density;      // kg/m3
    double cp;           // kJ/(kg K)
    double mu;           // 1e-7 N s/m2
    double nu;           // 1e-6 m2/s
    double k;            // 1e-3 W/(m K)
    double alpha;        // 1e-6 m2/s
    double prandtl;
};

inline constexpr Row kIncropera[] = {
    {250, 1.3947, 1.006, 159.6, 11.44, 22.3, 15.9, 0.720},
    {300, 1.1614, 1.007, 184.6, 15.89, 26.3, 22.5, 0.707},
    {350, 0.9950, 1.009, 208.2, 20.92, 30.0, 29.9, 0.700},
    {400, 0.8711, 1.014, 230.1, 26.41, 33.8, 38.3, 0.690},
    {450, 0.7740, 1.021, 250.7, 32.39, 37.3, 47.2, 0.686},
    {500, 0.6964, 1.030, 270.1, 38.79, 40.7, 56.7, 0.684},
};

// The kinematic values the air functions give are those of 101 325 Pa.
inline constexpr double kTablePressure = 1.0e5, kFunctionPressure = 101325.0;

}  // namespace air_reference

#endif
