// The water and steam routines as the library's own C++ code calls them: values in,
// values out. Each function is the routine whose name it gives, memo and trail included
// (the exported C routines of steam.h are thin wrappers over these), so a call here
// leaves the same record as the C call and a repeated state costs nothing.
//
// Units as in steam.h: psia, °F, ft³/lbm, Btu/lbm, Btu/(lbm·°R). A state that its
// routine refuses still ends the whole process; a block that must survive asks the
// range predicate first and reports the state itself. A predicate is true exactly where
// the routine it guards returns a value, false for NaN, and touches no shared block.
#ifndef VIREO_PP_STEAM_VALUES_H
#define VIREO_PP_STEAM_VALUES_H

namespace vireo::steam {

// ---- region 1 (compressed liquid) and region 2 (superheated vapour) at (p, T) --------

double region1Volume(double p, double t);    // vpt1_
double region1Enthalpy(double p, double t);  // hpt1_
double region1Entropy(double p, double t);   // spt1_
double region2Volume(double p, double t);    // vpt2_
double region2Enthalpy(double p, double t);  // hpt2_
double region2Entropy(double p, double t);   // spt2_

// 0 < p <= 16000 psia, 25 <= T <= 682 °F, and a real value of the liquid equations,
// which they lack on the vapour side of the saturation line above about 620 °F.
bool inRegion1(double p, double t);
// 0 < p <= 16000 psia, -200 <= T <= 1600 °F, and finite vapour equations, which
// overflow at pressures too small for a double. Neither predicate asks which side of
// the saturation line a state lies on: the caller chooses the region.
bool inRegion2(double p, double t);

// ---- saturation line ------------------------------------------------------------------

struct PressureWithSlope {
    double p;     // psia
    double dpdT;  // psia/°F
};

double saturationPressure(double t);                     // psatt_, psl_
PressureWithSlope saturationPressureAndSlope(double t);  // psl1_
double saturationTemperature(double p);                  // tsatp_, tsl_

// 25 <= T <= 705.5 °F.
bool saturationPressureAccepts(double t);
// From the saturation pressure at 25 °F (about 0.0665 psia) to the critical pressure.
// Lower pressures pass the routine's range test, but its iteration is held at 25 °F and
// ends the process as non-convergent.
bool saturationTemperatureAccepts(double p);

// ---- boundary between regions 2 and 3 --------------------------------------------------

double boundary23Pressure(double t);     // p23t_
double boundary23Temperature(double p);  // t23p_

// 25 <= T <= 1600 °F.
bool boundary23PressureAccepts(double t);
// From the lowest pressure of the boundary's parabola (about 2020.5 psia, at 571 °F) to
// 16000 psia. Lower pressures pass the routine's range test but have no temperature on
// the boundary, so its iteration ends the process as non-convergent. Between the lowest
// pressure and the saturation pressure at 662 °F the temperature lies below region 3.
bool boundary23TemperatureAccepts(double p);

}  // namespace vireo::steam

#endif
