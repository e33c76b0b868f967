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

// ---- region 3 (near the critical point) ----------------------------------------------

double region3Pressure(double v, double t);   // pvt3_
double region3Enthalpy(double v, double t);   // hvt3_
double region3Entropy(double v, double t);    // svt3_

// 0.0207 <= v <= 0.143 ft³/lbm and 636 < T <= 1124.45 °F.
bool inRegion3(double v, double t);

// The five entries of the region-3 volume search at (p, T).
enum class Region3Search {
    bySaturation,     // vpt3_: liquid start at or above the saturation pressure
    liquid,           // vpt3l_
    vapour,           // vpt3d_
    saturatedLiquid,  // vptf3_
    saturatedVapour,  // vptg3_
};
double region3Volume(double p, double t, Region3Search entry);

// The entry returns a volume: its range tests pass and its search settles within its
// step limit. The search runs here on its own work area.
bool region3VolumeAccepts(double p, double t, Region3Search entry);

// ---- the liquid side and the vapour side, saturated states ---------------------------

enum class Property { volume, enthalpy, entropy };

double liquidSide(Property property, double p, double t);  // vptl_ (vcl_), hptl_, sptl_
double vapourSide(Property property, double p, double t);  // vptd_, hptd_, sptd_

// Region 1 up to 662 °F, above it the liquid-side search of region 3.
bool liquidSideAccepts(double p, double t);
// Region 2 up to the 2/3 boundary, above it the vapour-side search of region 3.
bool vapourSideAccepts(double p, double t);

enum class Phase { liquid, vapour };

double saturatedAtTemperature(Property property, Phase phase, double t);  // vft_ vgt_ hft_ ...
double saturatedAtPressure(Property property, Phase phase, double p);     // vfp_ vgp_ hfp_ ...

// The saturation line takes the argument (25 to 705.5 °F; at p, where the saturation
// temperature converges, up to the critical pressure), and above 662 °F the saturated
// phase's search settles.
bool saturatedAtTemperatureAccepts(Phase phase, double t);
bool saturatedAtPressureAccepts(Phase phase, double p);

// ---- heat capacity and conductivity ---------------------------------------------------

double region1HeatCapacity(double p, double t);   // cppt1_
double region2HeatCapacity(double p, double t);   // cppt2_
double region3HeatCapacity(double v, double t);   // cpvt3_
double region3HeatCapacityAt(double p, double t); // cppt3_
double liquidHeatCapacity(double p, double t);    // cpptl_
double vapourHeatCapacity(double p, double t);    // cpptd_

// Region 1 below 662 °F, the liquid-side search of region 3 from 662 °F on (at 662 °F
// itself the other liquid-side properties still take region 1). The vapour side's heat
// capacity takes what vapourSideAccepts does.
bool liquidHeatCapacityAccepts(double p, double t);

double vapourConductivity(double p, double t);    // condv_, Btu/(h·ft·°F)
double liquidConductivity(double p, double t);    // condl_, Btu/(h·ft·°F)
double conductivity(double vSi, double tCelsius); // convt_: m³/kg, °C -> W/(m·K)

// The side's volume, 0 to 16000 psia and 25 to 1600 °F.
bool vapourConductivityAccepts(double p, double t);
bool liquidConductivityAccepts(double p, double t);
// 25 to 1600 °F and a volume that gives a finite conductivity (above 0).
bool conductivityAccepts(double vSi, double tCelsius);

// ---- inverse routines: temperature, quality, enthalpy and entropy of (p, h) or (p, s) --

// tph_ and tps_ answer the saturation temperature for a wet or saturated state (p up to
// the critical pressure); tsuph_, tphd_, tsups_ and tpsd_ always iterate on the vapour side.
enum class VapourEntry { saturating, vapour };
double vapourTemperatureFromEnthalpy(VapourEntry entry, double p, double h);  // tph_ tsuph_ tphd_
double vapourTemperatureFromEntropy(VapourEntry entry, double p, double s);   // tps_ tsups_ tpsd_
// The quality of (p, h) or (p, s): negative for a subcooled liquid, exactly 1 for
// saturated or superheated vapour and above the critical pressure.
double quality(Property property, double p, double value);                     // xph_ xps_
double liquidTemperature(Property property, double p, double value);           // tphl_ tpsl_
// h of (p, s) (wanted enthalpy) or s of (p, h) (wanted entropy): wet or vapour side by
// the saturated vapour, the wet relation only, or the vapour side only.
enum class CrossEntry { either, wet, vapour };
double crossProperty(Property wanted, CrossEntry entry, double p, double given);  // hps_ sph_ families

// ---- state bundles and isentropic changes ----------------------------------------------

// One state's properties: T (°F), h, s, v and the quality (1 for vapour).
struct StateBundle {
    double h, s, v, t, x;
};
StateBundle liquidBundle(double p, double t);   // hcl_: h, s of the liquid side
StateBundle vapourBundle(double p, double t);   // hss_: h, s, v of the vapour side
StateBundle saturatedVapourBundle(double p);    // hsv_
// The pressure of saturated vapour of entropy s (1.0611600477649612 to 2.2039): by
// iteration (psv_), the start estimate alone (psv1_), or with one correction (psv2_).
enum class PressureEntry { iterated, estimate, corrected };
double saturatedVapourPressure(PressureEntry entry, double s);
double saturatedVapourPressureVolume(double p);  // pvgp_: p vg(p)
double saturatedLiquidTemperature(double h);     // tslh_
// The liquid at p of an entropy (hssicl_) or an enthalpy (sssicl_).
StateBundle liquidIsentropic(Property given, double p, double value);
// Steam at p of an entropy (hssiss_ family) or an enthalpy (sssiss_ family): the wet
// volume by Clapeyron, by the liquid's volume (hisiss_), or always superheated.
enum class IsentropicEntry { clapeyron, liquidVolume, superheated };
StateBundle steamIsentropic(Property given, IsentropicEntry entry, double p, double value);

// ---- volume of (p, h) or (p, s), pressure and temperature of (h, s) ----------------------

// Wet or superheated by the saturated vapour (vph_, vps_), the wet relation only (vphw_,
// vpsw_) or the superheated side only (vphd_, vpsd_).
enum class VolumeEntry { either, wet, superheated };
double volumeOf(Property given, VolumeEntry entry, double p, double value);
double pressureOrTemperature(bool wantsTemperature, double h, double s);  // phs_, ths_
struct PressureAndTemperature {
    double p, t;
};
PressureAndTemperature superheatedPressure(bool wantsTemperature, double h, double s);  // phsd_, thsd_
double wetPressure(double h, double s);                 // phsw_
double pressureVolumeProduct(double p, double h);       // pvphw_

// ---- SI forms for the blocks: t in °C, p in Pa ---------------------------------------

bool onVapourSide(double tCelsius, double pPascal);    // chkreg_
double steamEnthalpy(double tCelsius, double pPascal); // steam_h_, J/kg
double steamEntropy(double tCelsius, double pPascal);  // steam_s_, J/(kg·K)
double steamHeatCapacity(double tCelsius, double pPascal);  // steam_cp_, J/(kg·K)
double steamVolume(double tCelsius, double pPascal);   // steam_v_, m³/kg

// The side choice and all four properties return a value for this state.
bool steamStateAccepts(double tCelsius, double pPascal);

// The saturation line and the inverse routines in the same units, for a block that keeps
// water as its enthalpy (h in J/kg).
double saturationCelsius(double pPascal);                        // tsatp_, °C
double saturatedLiquidEnthalpy(double pPascal);                  // hfp_, J/kg
double liquidHeatCapacityCelsius(double tCelsius, double pPascal);  // cpptl_, J/(kg·K)
double vapourHeatCapacityCelsius(double tCelsius, double pPascal);  // cpptd_, J/(kg·K)
double liquidTemperatureCelsius(double pPascal, double h);       // tphl_, °C
double steamTemperatureCelsius(double pPascal, double h);        // tph_, °C: wet steam's is the saturation temperature

// ---- further properties -----------------------------------------------------------------

double evaporationEnthalpy(double pPascal);  // evaph_: Pa -> J/kg
double surfaceTension(double t);             // surft_: lbf/ft
double capillaryWave(double t, double a);    // crwave_

// Up to a hair above the critical temperature (1164.87 °R); false for NaN.
bool surfaceTensionAccepts(double t);

// The side whose volume a property takes: either chooses the vapour side above the
// critical temperature or at and below the saturation pressure, else the liquid side.
enum class Side { either, liquid, vapour };

struct IonProduct {
    double logKw;  // log10 of the ion product
    double ph;     // pH of neutral water
};

double dielectricConstant(Side side, double p, double t);                 // epspt_ epsptl_ epsptd_
IonProduct ionProduct(Side side, double p, double t);                     // phion_ phionl_ phiond_
double refractiveIndex(Side side, double p, double t, double lambda);     // refrac_ refrcl_ refrcd_

// 0 to 16000 psia, 25 to 932 °F, 0.2 to 1.1 µm; false for NaN.
bool refractiveIndexAccepts(double p, double t, double lambda);

double isentropicExponent(double p, double h);  // gamma_

struct SoundSpeed {
    double velocity;  // ft/s
    double exponent;  // the isentropic exponent -dln p / dln v of the same stencil
};
SoundSpeed soundSpeed(double p, double h);  // crvel_

struct CriticalFlow {
    double flux;       // lbm/(h·in²)
    double superheat;  // °F; 0 for wet steam, 400 above the critical pressure
};
CriticalFlow criticalFlow(double p, double h);  // crflo_
// 0 to 8000 psia, 800 to 1860 Btu/lbm (from 960 at and above the critical pressure) and a
// quality of at least 0.7; false for NaN.
bool criticalFlowAccepts(double p, double h);

}  // namespace vireo::steam

#endif
