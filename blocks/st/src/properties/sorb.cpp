//#Block SORB
//#Description
// Equilibrium properties of a sorption material in humid air: the loading of a solid
// sorbent from the relative humidity and temperature (or the relative humidity from the
// loading), the binding heat of the adsorbed water, and the vapour pressure and enthalpies
// of a liquid sorbent solution; four models chosen by parameter 1.
//#Layout
//#Inputs 2--3
//#Outputs 12
//#Parameters 1--3
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Relative humidity of the air (-), 1 at saturation
//#IN[1] Temperature ($^\circ$C)
//#IN[2] Loading of the sorbent (kg water/kg sorbent) or mass fraction of the solution (-); needed by models 2 to 4 and the inverse mode of model 1
//#Outputs
//#OUT[0] Model 1: loading (kg water/kg sorbent)
//#OUT[1] Models 1, 2, 4: binding heat (kJ/kg)
//#OUT[2] Model 1: vapour pressure over the sorbent; model 3: over the solution (Pa)
//#OUT[3] Models 1 (inverse and reference modes) and 3: ln of output 3 (-)
//#OUT[4] Models 1 (inverse and reference modes) and 3: -1/T (1/K)
//#OUT[5] Model 1 (inverse and reference modes): vapour pressure at the reference temperature (Pa)
//#OUT[6] Model 1 (inverse and reference modes): heat of adsorption (kJ/kg); model 3: liquid-side enthalpy
//#OUT[7] Model 3: vapour-side enthalpy
//#OUT[8] Model 3: concentration (-)
//#OUT[9] Model 3: vapour-side concentration (-)
//#OUT[11--12] Not used
//#Parameters
//#BP[0] Model (-): above -0.5 and below 0 model 1 inverse, 0 model 1 at the reference temperature, above 0 and below 0.5 model 1 corrected for the temperature, 0.5 to 1.5 model 2, 1.5 to 2.5 model 3, 2.5 to 3.5 model 4 (halves away from 0): a number above -0.5 and below 3.5
//#BP[1] Tolerance of the relative humidity in the temperature correction (-); 1e-4 when left out or 0 or below
//#BP[2] Largest number of iterations of model 1, at most 1000 (-); 20 when left out or below 1
//#Strings
//#None
//#Remarks
// Model 1 is a silica-gel type solid sorbent: an n-layer isotherm (monolayer loading
// 0.11, b 11, n 7.2, h 19000) at the reference temperature of 40 $^\circ$C, the relative
// humidity taken within 0 and 0.999; near saturation its loading is held at 0.45 kg/kg,
// the most such a gel holds, with a warning the first time and a count at the end of the
// run. Its inverse mode halves the relative humidity until the isotherm meets the given
// loading within 1e-4; its corrected mode carries the state to the reference temperature
// by the binding heat, 3172 (1 - 2.34 c + 6.05 c$^2$) - 2453 kJ/kg below a loading of
// 0.1934 and 0 above, until the relative humidity settles. An iteration that reaches
// parameter 3 steps gives an error at its first occurrence and is counted after that; the
// step puts out its last iterate, and the last call reports the count. The binding heat
// takes the loading from input 3 when it is connected. Model 2 is the binding heat 1000 -
// 4000 c, at least 0; model 4 is 88.94 exp(8.38 (0.3 - 0.125 c)). Model 3 is a sorbent
// solution: the vapour pressure 10$^{a - b/T}$, with a and b cubic in the mass fraction,
// and enthalpies by separate fits above and below 552 kPa, which do not meet there.
// Outputs a model does not name keep their values. The logarithm of a vapour pressure of
// 0 is held at that of the smallest float (-87.3). A step with an input that is not a
// finite number, or whose results are not, changes no output and is warned about.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "finite.h"
#include "vireo_tools.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <utility>

namespace vireo::st {
namespace {

// IP[10]: the model, 1 to 4; IP[11]: steps whose iteration did not converge; IP[12]: the
// largest number of iterations; IP[13]: steps whose loading was held at the most the
// sorbent holds; RP[0]: the tolerance of the temperature correction.
struct State {
    int& model;
    int& unsettled;
    int& iterations;
    int& held;
    float& tolerance;
    explicit State(sorb_block::View& b)
        : model(b.ip<10>()), unsettled(b.ip<11>()), iterations(b.ip<12>()), held(b.ip<13>()), tolerance(b.rp<0>()) {}
};

constexpr double kGasConstant = 0.461;       // water vapour, kJ/(kg K)
constexpr double kEvaporation = 2453.0;      // kJ/kg
constexpr double kReferenceC = 40.0;
constexpr double kReciprocalReference = 0.003193358;  // 1/K, of the reference temperature
constexpr double kLoadingTolerance = 1.0e-4;
// The isotherm has a pole at saturation (0.54 kg/kg at 95 per cent, hundreds at 99.9),
// where a silica gel's pores are full: Chua, Ng, Chakraborty, Oo and Othman, Adsorption
// characteristics of silica gel + water systems, J. Chem. Eng. Data 47 (2002) 1177-1181,
// fit a saturated uptake of 0.45 kg/kg to type RD gel (their Toth isotherm's q_m).
constexpr double kMostLoading = 0.45;

// The isotherm at the reference temperature: loading in kg/kg at relative humidity phi.
double isotherm(double phi) {
    constexpr double cm = 0.11, b = 11.0, n = 7.2, h = 19000.0;
    const double pn = std::pow(phi, n), pn1 = pn * phi, pn2 = pn1 * phi;
    const double numerator = 2.0 * (b - 1.0) * phi + 2.0 * (b - 1.0) * (b - 1.0) * phi * phi +
                             pn * (n * h + b * b * n - n * n * b * b) +
                             pn1 * (n * n * b * b + 2.0 * b + 2.0 * n * b - 2.0 * b * b - b * b * n - 2.0 * h - 2.0 * n * h) +
                             pn2 * (n * h + 2.0 * h);
    const double denominator = 2.0 * (1.0 + 2.0 * (b - 1.0) * phi + (b - 1.0) * (b - 1.0) * phi * phi +
                                      pn * (b * b + h - 2.0 * b - n * b * b) + pn1 * (2.0 * b + n * b * b - 2.0 * b * b - 2.0 * h) +
                                      pn2 * h);
    return cm * (numerator / denominator + phi / (1.0 - phi));
}

// The relative humidity the isotherm is evaluated at: below 1, where it has its pole, and
// not below 0, where its powers have no value.
double held(double phi) { return phi >= 1.0 ? 0.999 : (phi >= 0.0 ? phi : 0.0); }

double bindingHeat(double c) {
    return c < 0.1934 ? 3172.0 * (1.0 - 2.34 * c + 6.05 * c * c) - kEvaporation : 0.0;
}

double saturationPressure(float t) {
    const int variant = 1;
    int irc = 0;
    return satp(&variant, &t, &irc);
}

// ln of a vapour pressure, held at that of the smallest float for a pressure of 0.
double lnPressure(double p) { return std::log(std::fmax(p, double(FLT_MIN))); }

// The outputs a step computes, written together only when every one is finite.
class Outputs {
public:
    void set(int slot, double value) { values_[count_++] = {slot, value}; }
    void write(BlockView& b) const {
        for (int i = 0; i < count_; ++i)
            if (!fitFloats({values_[i].second})) {
                b.report(code::noFiniteResult, {.reals = {b.in(0), b.in(1)}});
                return;
            }
        for (int i = 0; i < count_; ++i) b.out(values_[i].first) = static_cast<float>(values_[i].second);
    }

private:
    std::array<std::pair<int, double>, 10> values_{};
    int count_ = 0;
};

void solidSorbent(sorb_block::View& b, State& s, Outputs& out) {
    const float selector = b.par<sorb_block::P::model>();
    const bool inverse = selector < 0.0f, corrected = selector > 0.0f;
    const double phi = b.in(0), t = b.in(1), kelvin = t + 273.15;
    const double ps0 = saturationPressure(float(kReferenceC));
    const double ps = saturationPressure(b.in(1));
    const double wanted = b.in(2);
    double phi0 = phi, low = 0.0, high = 1.0, c0 = 0.0, hb = 0.0;
    for (int iteration = 0;;) {
        phi0 = held(phi0);
        c0 = isotherm(phi0);
        if (inverse) {
            (wanted > c0 ? low : high) = phi0;
            if (std::fabs(c0 - wanted) > kLoadingTolerance) {
                phi0 = 0.5 * (high + low);
                if (++iteration < s.iterations) continue;
                b.countWarning(s.unsettled, code::notConverged);
            }
        }
        hb = bindingHeat(b.inputCount() > 2 ? wanted : c0);
        if (corrected) {
            const double next = phi * std::pow(ps0 / ps, hb / kEvaporation);
            // Compared where the isotherm is evaluated: air at or above saturation settles
            // on 0.999 instead of never meeting it.
            if (std::fabs(held(next) - phi0) > s.tolerance) {
                phi0 = next;
                if (++iteration < s.iterations) continue;
                b.countWarning(s.unsettled, code::notConverged);
            }
        }
        break;
    }
    const double ha = kEvaporation + hb;
    if (c0 > kMostLoading) {
        b.countWarning(s.held, code::loadingAtMaximum, {.reals = {float(phi0), float(kMostLoading)}});
        c0 = kMostLoading;
    }
    out.set(0, c0);
    out.set(1, hb);
    if (corrected) {
        out.set(2, phi * ps);
        return;
    }
    const double p = phi0 * ps0 * std::exp(ha / kGasConstant * (kReciprocalReference - 1.0 / kelvin));
    out.set(2, p);
    out.set(3, lnPressure(p));
    out.set(4, -1.0 / kelvin);
    out.set(5, ps0 * phi0);
    out.set(6, ha);
}

// A sorbent solution of mass fraction c at temperature t (degC): its vapour pressure and
// the enthalpies of its liquid and vapour sides, fitted above and below 552 kPa.
void solution(double c, double t, Outputs& out) {
    const double a = 10.44 - 1.767 * c + 0.9823 * c * c + 0.3627 * c * c * c;
    const double b = 2013.8 - 2155.7 * c + 1540.9 * c * c - 194.7 * c * c * c;
    const double kelvin = t + 273.15;
    const double p = std::pow(10.0, a - b / kelvin);
    const double f = 1.8 * t + 32.0;  // degF
    const double cf = c;
    double cv, hf, hv;
    if (p > 552000.0) {
        const double r = c * (3.715e-9 * p + (c * ((10.749 * c - 17.869) * c + 4.0297) - 1.3086) * c) + 7.1588 - 6.171e-9 * p;
        cv = 1.0 - std::pow(1.0 - cf, r);
        hf = cf * (cf * (cf * ((1306.774 * cf - 4487.864) * cf + 5450.047) - 1926.716) - 240.6738) + 4.7182 * t - 94.7974;
        const double common = 1.2714 * f * (1.0 - cv) * (1.0 - cv) + 1.94669e-8 * f * f * f * f +
                              (1.0 - cv) * f * (f * (0.0634 - 8.7804e-5 * f) - 13.822);
        if (cf >= 0.36) {
            const double xv = cv < 0.9996 ? std::log(1.0 - cv) : -10.126631;
            hv = common + 2113.219 + xv * (((0.1599 * xv + 4.8363) * xv + 57.7705) * xv + 336.3805);
        } else {
            hv = common + 2506.6743 + cv * ((cv * (6871.3433 - 3122.7354 * cv) - 5780.3105) * cv + 910.2483);
        }
    } else {
        const double r = 3.0934e-8 * p * c * c + (c * (c * ((108.485 * c - 229.009) * c + 155.247) - 41.0442) * c + 11.2925) -
                         4.532e-8 * p;
        cv = 1.0 - std::pow(1.0 - cf, r);
        hf = cf * (cf * (cf * (3160.6 - 1526.79 * cf) - 1158.988) - 424.528) + 4.5705 * t - 51.7296;
        hv = (1.0 - cv) * f * ((9.4324e-5 * f - 0.0675) * f + 15.7951) + ((0.0034775 - 1.15081e-5 * f) * f + 0.9672) * f + 1234.944;
    }
    out.set(2, p);
    out.set(3, lnPressure(p));
    out.set(4, -1.0 / kelvin);
    out.set(6, hf);
    out.set(7, hv);
    out.set(8, cf);
    out.set(9, cv);
}

}  // namespace

bool sorb_block::tiesHold(View& b) {
    // Without input 3 these would read past the inputs, or take a loading that another
    // block left behind.
    const float selector = b.par<P::model>();
    const bool needsInput3 = b.whole<P::model>(1) != 1 || selector < 0.0f;
    if (!needsInput3 || b.inputCount() >= 3) return true;
    b.report(code::sorbentInputMissing, {.reals = {selector}});
    return false;
}

void sorb_block::init(View& b) {
    State s(b);
    s.model = b.whole<P::model>(1);
    s.tolerance = b.par<P::tolerance>();
    s.iterations = b.whole<P::iterations>();
}

void sorb_block::step(View& b) {
    if (!inputsFinite(b)) return;
    State s(b);
    Outputs out;
    const double c = b.in(2);
    switch (s.model) {
        case 1: solidSorbent(b, s, out); break;
        case 2: out.set(1, std::fmax(1000.0 - 4000.0 * c, 0.0)); break;
        case 3: solution(c, b.in(1), out); break;
        case 4: out.set(1, 88.94 * std::exp((0.3 - 0.125 * c) * 8.38)); break;
        default: return;  // never: the frame does not step a refused model
    }
    out.write(b);
}

void sorb_block::last(View& b) {
    const State s(b);
    b.reportCount(s.unsettled, code::countedNotConverged);
    b.reportCount(s.held, code::countedLoadingAtMaximum);
}

}  // namespace vireo::st
