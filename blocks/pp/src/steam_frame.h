// What the water and steam routines share inside the library: names of the constants,
// the memo protocol and the way out through the fatal report.
#ifndef VIREO_PP_STEAM_FRAME_H
#define VIREO_PP_STEAM_FRAME_H

#include "steam.h"
#include "steam_values.h"

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace vireo::steam {

// Entries of stmcon_ by their 1-based index.
enum class C : int {
    enthalpyShift = 1,   // reduced-enthalpy zero shift
    entropyShift,        // reduced-entropy zero shift
    pc,                  // critical pressure, psia
    vc,                  // critical volume, ft³/lbm
    tc,                  // critical temperature, °R
    rankine,             // °F to °R
    pcvc,                // Btu/lbm
    pcvcTc,              // Btu/(lbm·°R)
    i1,                  // ideal-gas constant of region 2
    tRegion1Top,         // 662 °F
    tCritical,           // 705.47 °F
    pSat662,
    pLower,              // 0 psia
    pUpper,              // 16000 psia
    pUpperTsatp,         // 3208.3 psia
    pLowerSearch,
    vLower3,
    vUpper3,
    tLower,              // 25 °F
    tUpper2,             // 1600 °F
    tUpperPsatt,         // 705.5 °F
    tUpper1,             // 682 °F
    tLower2,             // -200 °F
    tLower3,
    tUpper3,
    hLower,
    hUpperSuperheated,
    hUpperWet,
    hUpperTslh,
    lowerWet,
    sUpper,
    sLowerSuperheated,
    sInverse,
    l0,                  // 2/3 boundary p/pc = L0 + L1 theta + L2 theta^2
    l1,
    l2,
    l2Twice,
    tolerance,           // 1e-8
    toleranceInverse,
    toleranceWet,
    toleranceEntropy,
};

inline double con(C entry) { return stmcon_.value[static_cast<int>(entry) - 1]; }

// A routine's name as the memo compares it and the report prints it: exactly 6
// characters, blank-padded.
struct RoutineName {
    char text[6];
    constexpr RoutineName(const char (&s)[7]) : text{s[0], s[1], s[2], s[3], s[4], s[5]} {}
    std::string_view view() const { return {text, 6}; }
};

inline bool sameName(const char* stored, const RoutineName& name) {
    return std::memcmp(stored, name.text, 6) == 0;
}
inline void storeName(char* stored, const RoutineName& name) { std::memcpy(stored, name.text, 6); }

// A name passed from outside with its length, as 6 characters: cut or blank-padded.
RoutineName routineName(const char* name, std::size_t length);

// Memo levels: the argument slots of level l, its result slot (levels 2 to 6) and its name.
inline double* levelArguments(int level) { return &stmlvl_.slot[2 * level - 2]; }
inline double& levelResult(int level) { return stmlvl_.slot[14 + level - 1]; }
inline char* levelName(int level) { return stmlvn_.name[level - 1]; }

// The memo test: true on a hit (both arguments, or only x when y does not count, and the
// name equal); otherwise records the arguments and the name and returns false.
bool memoTest(int level, const RoutineName& name, double x, double y, bool bothCount = true);

// The fatal report: ends the process.
[[noreturn]] void fail(const RoutineName& name, int code, double x1, double x2);

// Record-only routines store name and arguments at their level for the trail, without
// testing the memo (the second argument only where it counts).
inline void recordCall(int level, const RoutineName& name, double x, double y, bool bothCount = true) {
    double* arguments = levelArguments(level);
    arguments[0] = x;
    if (bothCount) arguments[1] = y;
    storeName(levelName(level), name);
}

// The range check of splim_ for the library's own routines: outside [lower, upper], or
// NaN, ends the process with the code.
inline void checkRange(const RoutineName& name, double x, int code, double lower, double upper) {
    if (!(x <= upper && x >= lower)) fail(name, code, x, 0.0);
}

// A routine of two arguments memoised at `level` (2 to 6): a hit returns the level's
// result; a miss records the arguments and the name, and `compute` works from the
// recorded copies (the callee sees what the trail shows).
template <class Compute>
double memoised(int level, const RoutineName& name, double x, double y, Compute compute) {
    if (memoTest(level, name, x, y)) return levelResult(level);
    const double* recorded = levelArguments(level);
    const double value = compute(recorded[0], recorded[1]);
    return levelResult(level) = value;
}

// A property of one region at (p, T), memoised at `level`: on a miss the region's common
// terms are brought up to date for the recorded arguments and `compute` reads them.
template <class Terms, class Compute>
double regionProperty(int level, const RoutineName& name, double p, double t,
                      void (*commonTerms)(const double*, const double*), const Terms& terms,
                      Compute compute) {
    return memoised(level, name, p, t, [&](const double& x, const double& y) {
        commonTerms(&x, &y);
        return compute(terms);
    });
}

// Brings a region's common terms to (p, T) (region 3: (v, T)) at memo level `level`,
// recomputing only the half (pressure or volume, or temperature) whose argument changed
// since the same routine last ran. False when nothing changed; a state out of range ends
// the process with the report of `rangeCode`. The caller stores its name in the level
// once the remaining terms are done.
template <class Terms>
bool refreshCommonTerms(int level, const RoutineName& name, double p, double t, bool inRange, Terms& w,
                        void (*pressureTerms)(Terms&, double), void (*temperatureTerms)(Terms&, double),
                        int rangeCode = 12) {
    double* recorded = levelArguments(level);
    const bool sameRoutine = sameName(levelName(level), name);
    if (sameRoutine && p == recorded[0] && t == recorded[1]) return false;
    if (!inRange) fail(name, rangeCode, p, t);
    if (!sameRoutine || p != recorded[0]) {
        recorded[0] = p;
        pressureTerms(w, p);
    }
    if (!sameRoutine || t != recorded[1]) {
        recorded[1] = t;
        temperatureTerms(w, t);
    }
    return true;
}

// The saturation line's K-function and its slope at T, outside every memo.
PressureWithSlope saturationLine(double t);

// The saturation temperature at p by the iteration of tsatp_ over the K-function
// outside every memo; NaN where tsatp_ would end the process.
double saturationTemperatureOf(double p);

// The 2/3 boundary's pressure at T (the L-function), outside every memo and range test.
double boundary23Line(double t);

// ---- the sides ------------------------------------------------------------------------

// One property of a region's state.
inline double region1Property(Property property, double p, double t) {
    return property == Property::volume     ? region1Volume(p, t)
           : property == Property::enthalpy ? region1Enthalpy(p, t)
                                            : region1Entropy(p, t);
}
inline double region2Property(Property property, double p, double t) {
    return property == Property::volume     ? region2Volume(p, t)
           : property == Property::enthalpy ? region2Enthalpy(p, t)
                                            : region2Entropy(p, t);
}
// Region 3's at the volume v of its state.
inline double region3Property(Property property, double v, double t) {
    return property == Property::volume     ? v
           : property == Property::enthalpy ? region3Enthalpy(v, t)
                                            : region3Entropy(v, t);
}
// The pressure above which the vapour side is region 3: the 2/3 boundary (p23t_) from
// 462 °F on, the upper pressure limit below.
double vapourBoundary(double t);
// The region the vapour side takes at (p, T), 2 or 3, by the same choice outside every
// memo; 0 where the boundary refuses T.
int vapourSideRegion(double p, double t);

// ---- region 3 -------------------------------------------------------------------------

// The region-3 terms of (v, T) in a work area of the caller's: the same values that
// comt3_ and cpvt3_ leave in stm3_, without their range test or memo.
void region3Terms(Region3Terms& w, double v, double t);
// The second derivatives in volume (the volume polynomials' curvature) at the terms'
// volume, for the heat capacity.
void region3CurvatureTerms(Region3Terms& w);

// Reduced quantities of region 3 from its terms, the liquid-side correction included
// where it counts: pressure beta = p/pc, enthalpy, entropy, and the isobaric heat
// capacity cp Tc/(pc vc).
double region3ReducedPressure(const Region3Terms& w);
double region3ReducedEnthalpy(const Region3Terms& w);
double region3ReducedEntropy(const Region3Terms& w);
double region3ReducedHeatCapacity(const Region3Terms& w);

// The damped secant search of the region-3 volume of a pressure p, between two volume
// bounds from a start volume. Each step that leaves the bounds is clamped to the bound
// and sets the damping to 1; the search stops when the pressure is within 1e-8 psia.
struct VolumeSearch {
    double lower;  // ft³/lbm
    double upper;
    double start;
};
struct VolumeFound {
    double v;
    int steps;       // pressures evaluated
    bool converged;  // false: the step limit was reached
};
inline constexpr int kVolumeSearchSteps = 100;

struct NoSearchObserver {
    void operator()(int, double, double, double) const {}
};

// pressureAt(v): psia at the state's temperature. observe(step, v, damping, error) sees
// every evaluation, the volume after its clamp and the damping it was taken with.
template <class PressureAt, class Observer = NoSearchObserver>
VolumeFound searchVolume(double p, const VolumeSearch& search, PressureAt pressureAt, Observer observe = {}) {
    const double tolerance = con(C::tolerance);
    double v = search.start;
    double damping = 0.25;
    double vPrevious = 0.0;
    double pPrevious = 0.0;
    double errorPrevious = 0.0;
    for (int step = 1; step <= kVolumeSearchSteps; ++step) {
        if (v > search.upper) {
            v = search.upper;
            damping = 1.0;
        } else if (v < search.lower) {
            v = search.lower;
            damping = 1.0;
        }
        const double pCalculated = pressureAt(v);
        const double error = pCalculated - p;
        observe(step, v, damping, error);
        if (std::fabs(error) <= tolerance) return {v, step, true};
        double dv;
        const bool sameSign = error * errorPrevious > 0.0;
        if (step == 1) {
            dv = error * v * damping / p;
        } else if (sameSign && std::fabs(error) > std::fabs(0.3 * errorPrevious)) {
            // Still far and not closing in: a larger damped step.
            damping *= 1.5;
            dv = error * v * damping / p;
        } else {
            if (!sameSign) damping *= 0.67;
            dv = -error * (v - vPrevious) / (pCalculated - pPrevious);
        }
        vPrevious = v;
        pPrevious = pCalculated;
        errorPrevious = error;
        v += dv;
    }
    return {v, kVolumeSearchSteps, false};
}

// ---- SI forms ---------------------------------------------------------------------------

// A property in the blocks' units: the side of chkreg_, the state in psia and °F, the
// side's routine, the result times the factor.
double siProperty(double t, double p, double (*liquid)(double, double), double (*vapour)(double, double),
                  double factor);

// ---- further properties --------------------------------------------------------------------

// 1 kg/m³ in lbm/ft³, inverted: density in kg/m³ from a volume in ft³/lbm.
inline constexpr double kKgPerCubicMetreInLbmPerCubicFoot = 16.018463373960138;

inline double sideVolume(Side side, double p, double t) {
    const bool vapour = side == Side::vapour ||
                        (side == Side::either && (t > con(C::tCritical) || p <= saturationPressure(t)));
    return vapour ? vapourSide(Property::volume, p, t) : liquidSide(Property::volume, p, t);
}

// The slope dp/dT (psia/°F) that the saturation line left in nust_ when the saturation
// temperature of p was last found; debug builds check that it was found for p.
double saturationSlopeAt(double p);
// Clapeyron: the volume change of evaporation (ft³/lbm) from its enthalpy, T (°F) and
// the slope of the saturation line.
double evaporationVolume(double hfg, double t, double dpdT);

// Whether a superheated state of (p, h) or (p, s) at its temperature t lies in region 3:
// at or above the saturation pressure of 662 °F, below an entropy (at or below an
// enthalpy) that only region 3 reaches there, or above the 2/3 boundary. With
// lowEnthalpyIsRegion3 an enthalpy below 1103 Btu/lbm counts as region 3 at once.
bool superheatedInRegion3(Property given, double p, double value, double t, bool lowEnthalpyIsRegion3);

// Work counters of the vapour-side inverse routines, for the benchmark: memo misses that
// reached the start, starts taken without iterating, and iteration steps.
struct InverseCounters {
    long misses = 0;
    long accepted = 0;
    long steps = 0;
};
extern InverseCounters inverseCounters;

// ---- the report, for ster_ and its tests -----------------------------------------------

struct ReportState {
    MemoNames names;
    MemoLevels levels;
    SaturationMemo saturation;
};
ReportState currentReportState();

// The text that ster_ writes for these arguments and this state, byte for byte.
std::string reportText(std::string_view name, int code, double x1, double x2, const ReportState& state);

// The one way out of the process: flush every output stream, write the text to standard
// output and end the process at once with the exit status below, running no exit
// handler that could write after the report.
inline constexpr int kFatalExitStatus = 1;
[[noreturn]] void endProcess(std::string_view text);

}  // namespace vireo::steam

#endif
