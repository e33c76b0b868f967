// The uncovered PV-thermal collector of PVTCOOL as plain values: its sub-models (net
// irradiance, the surface's radiative and convective coefficients, condensation, the two
// PV models, the coefficient between absorber and fluid, the explicit step of the
// segments) and one call of the collector over its 60 s. libVireoST's exported routines
// of pvt_collector.h are thin shims over these. Temperatures in degC, irradiances in W/m2,
// angles in degrees.
//
// A collector of n nodes cut along the flow: absorber (ta), surface (tg) and condensation
// (qk) spans hold nodes 1..n at [0] to [n - 1]; the fluid spans hold nodes 0..n, node 0
// the inlet. The first n - 1 nodes are the segments that the means go over (with n = 1
// the single node).
#ifndef VIREO_ST_UNCOVERED_PVT_H
#define VIREO_ST_UNCOVERED_PVT_H

#include <array>
#include <span>

namespace vireo::st::pvt {

// Mean over the segments: nodes 1..n - 1, or the single node.
double meanOverSegments(std::span<const double> t);

// Water and humid air: saturation vapour pressure in hPa (0 < t <= 200 degC, else 0),
// dew point in degC at a vapour pressure in hPa (a pressure of 0 or below gives the
// formula's limit at 0), evaporation enthalpy in kJ/kg.
double saturationPressure(double t);
double dewPoint(double p);
double evaporationEnthalpy(double t);

// What the surface sees: sky (th), ambient (tu) and ground (tgr, emissivity epsgr), by
// the view factor of the tilt beta.
struct Surroundings {
    double th, tu, tgr, epsgr, beta;
};

// Net irradiance: the long-wave exchange with sky and ground against the surface at the
// ambient, times epsalpha, plus the global irradiance eg with its beam eb weighted by the
// modifiers kbn and kd; at eg <= 0 the long-wave balance alone.
double netIrradiance(double eg, double eb, double kbn, double kd, double epsalpha, const Surroundings& s,
                     double sigma, double pi);

// Effective radiant temperature of the surroundings and the linearised radiative
// coefficient of the surface tg (emissivity epspv) at its mean temperature.
struct Radiant {
    double teff, ustr;
};
Radiant radiant(std::span<const double> tg, double epspv, const Surroundings& s, double sigma, double pi);

// Convective coefficient of the surface ts at its mean temperature, natural and forced
// (wind vu) combined by their cubes.
double convective(std::span<const double> ts, double tu, double vu);

// The air's moisture: dew point tdu, vapour pressure pstdu and pressure pu in hPa,
// evaporation enthalpy dhvw in kJ/kg.
struct Moisture {
    double tdu, pstdu, pu, dhvw;
};
// Heat that moisture condensing on the surface ts gives each node (as many as ts holds).
void condensation(std::span<const double> ts, const Moisture& m, double ukon, std::span<double> qk);

// The PV layer over the area aa at the mean absorber temperature of ta: its power and, when
// the electricity is taken off, the irradiances left for heat.
struct PvLayer {
    double kbn, kd, ct, etastc;
    double ik, impp, ul, umpp;  // the one-diode characteristic (the second model)
};
struct Pv {
    double power, egred, ebred;
};
Pv pvEfficiencyModel(bool takenOff, std::span<const double> ta, double aa, double eg, double eb, const PvLayer& l);
Pv pvDiodeModel(bool takenOff, std::span<const double> ta, double aa, double eg, double eb, const PvLayer& l);

// The coefficient between absorber and fluid that meets the efficiency curve at 1.5 m/s;
// off when it is not above 0 or misses the curve's value at a wind of 1 to 8 m/s by more
// than a fifth. tau is the transmittance the curve's absorptance is seen through.
struct Internal {
    double uint;
    bool off;
};
Internal internalCoefficient(double alphath, double b1, double b2, double bu, double eta0, double tau);

// One explicit sub-step dt of the segments: fluid (tf2 from tf1), absorber (ta) and, with
// `surface`, surface (tg), each relaxed by relax from its iteration start. gains: heat per
// area each node's fluid takes besides the net irradiance (condensation, less
// electricity). An internal coefficient of 0 or below couples absorber and fluid fully.
struct Segment {
    double eta0, b1, b2, bu, ceff, cf, ugf, aa;
};
struct Exchange {
    double enx, vu, tu, teff, dt, uint, ustr, ukon, mpkt, relax;
    bool surface;
};
struct Nodes {
    std::span<double> tg, ta;            // n
    std::span<const double> tf1;         // n + 1
    std::span<double> tf2;               // n + 1
    std::span<const double> gains;       // n
    std::span<const double> tgStart, taStart, tfStart;  // n, n, n + 1
};
void thermalStep(const Segment& s, const Exchange& x, const Nodes& n);

// Whether every |a[i] - b[i]| is within 0.001 (single precision); not a number never is.
bool settled(std::span<const double> a, std::span<const double> b);

// ---- One call of the collector block ----

inline constexpr int kMaxNodes = 101;       // 100 segments whatever the area
inline constexpr double kCallLength = 60.0;  // s: the block has no time input
inline constexpr int kMaxPasses = 50;
inline constexpr int kMaxSubSteps = 6000;    // 0.01 s: only flows of tonnes an hour per square metre ask more
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kSigma = static_cast<double>(5.67e-08f);  // the model's constant in single precision

enum Model { thermal = 1, condensing = 2, pvThermal = 3, pvCondensing = 4 };
inline bool hasPv(int model) { return model == pvThermal || model == pvCondensing; }
inline bool condenses(int model) { return model == condensing || model == pvCondensing; }

// The parameters as a call takes them; the switches by their whole parts, capacities in J.
struct Collector {
    int model, pvModel;
    bool computedUkon;
    double aa, beta, eta0, bu, b1, b2, epsalpha, ceff, cf, kdth, ugf, epspv, kdpv, etastc, ik, impp, ul, umpp, ct,
        relax, epsgr;
    int nj;
};

// The weather and the fluid of one call, in the units of the physics.
struct Conditions {
    double eg, eb, theta, tu, pu, rh, th, vu, ukon, uint, tfe, mpkt, tgr;
    int ppvMode;
};

// The temperatures the collector keeps, nodes as the physics numbers them.
struct State {
    std::array<double, kMaxNodes> ta, tg;
    std::array<double, kMaxNodes + 1> tf;  // [0] the inlet
};

struct Result {
    bool ran;       // false: the call asked more than kMaxSubSteps sub-steps and left the state alone
    int unsettled;  // sub-steps whose iteration ran out of passes
    std::array<double, 12> outputs;
};

// Advances the state by kCallLength seconds.
Result advance(const Collector& c, const Conditions& w, State& s);

}  // namespace vireo::st::pvt

#endif
