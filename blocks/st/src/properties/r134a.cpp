//#Block R134A
//#Description
// Properties of the refrigerant R134a in the vapour from its temperature and density, by
// a Helmholtz-energy form with an ideal-gas part and nine residual terms, and its
// saturation pressure, saturated-liquid density and saturated-liquid enthalpy from the
// temperature alone.
//#Layout
//#Inputs 0--10
//#Outputs 10
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Temperature ($^\circ$C)
//#IN[1] Density (kg/m$^3$)
//#IN[3--10] Not used
//#Outputs
//#OUT[0] Pressure (MPa)
//#OUT[1] Specific enthalpy (kJ/kg)
//#OUT[2] Specific entropy (kJ/(kg K))
//#OUT[3] Heat capacity of the ideal gas (kJ/(kg K))
//#OUT[4] Saturation pressure (MPa)
//#OUT[5] Density of the saturated liquid (kg/m$^3$)
//#OUT[6] Enthalpy of the saturated liquid (kJ/kg)
//#OUT[8--10] Always 0
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// Enthalpy and entropy are referred to 200 kJ/kg and 1 kJ/(kg K) for the saturated liquid
// at 0 $^\circ$C. The state outputs (1 to 3) hold for the vapour up to the saturated vapour,
// from -40 to 60 $^\circ$C; at liquid densities this form is not valid and its values mean
// nothing. An input that is not connected reads 0. Where a value does not exist (a
// density of 0 or below, a temperature at or below absolute zero, saturation above the
// critical temperature) the output reads 0 and the step gives a warning.
//#end
#include "blocks.h"

#include <cmath>

namespace vireo::st {
namespace {

// The equation's constants, in single precision as published with it.
constexpr float tc = 374.18f, rhoc = 508.0f, rr134a = 81.48885f, p0 = 4.056318f, h0 = 384.07f;
constexpr float ax0 = 1.019535f, ax1 = 9.047135f, m1 = -0.629789f, m2 = 7.292937f, m3 = 5.154411f;
constexpr float b1 = 0.2201286f, b2 = -1.267402f, b3 = -0.3084991f, b4 = -0.0003546135f;
constexpr float c1 = 0.01387313f, c2 = 0.3353155f;
constexpr float d1 = -0.06356633f, d2 = 0.08120353f, d3 = -0.03699965f;
constexpr float a1 = -7.705729f, a2 = 2.4186313f, a3 = -2.1848311f, a4 = -3.4530733f;
constexpr float q0 = 518.236f, q1 = 885.538f, q2 = 482.517f, q3 = 192.157f;
constexpr float n1 = -0.534728f, n2 = -1.757777f, n3 = -0.928326f, n4 = -2.666564f, n5 = -30.8257f;

// The powers of tau the residual terms use: non-integer ones in single precision,
// integer ones as exact products.
struct TauPowers {
    double m050, m025, m075, p175, p250, p350, p4, p12, p20;
    explicit TauPowers(float tau)
        : m050(std::pow(tau, -0.5f)), m025(std::pow(tau, -0.25f)), m075(std::pow(tau, -0.75f)),
          p175(std::pow(tau, 1.75f)), p250(std::pow(tau, 2.5f)), p350(std::pow(tau, 3.5f)) {
        const double t = tau, t2 = t * t;
        p4 = t2 * t2;
        p12 = p4 * p4 * p4;
        p20 = p12 * p4 * p4;
    }
};

// A value that overflows single precision has no meaning here either.
bool store(float& out, double value) {
    const float v = static_cast<float>(value);
    out = std::isfinite(v) ? v : 0.0f;
    return std::isfinite(v);
}

}  // namespace

void r134a_block::step(View& b) {
    const float t = b.in(0), rho = b.in(1);
    for (int i = 0; i <= 6; ++i) b.out(i) = 0.0f;
    const float tK = t + 273.15f;
    bool defined = tK > 0.0f && rho > 0.0f;  // NaN fails both
    if (tK > 0.0f) {
        const double r = rr134a;
        const float tau = tc / tK;
        const TauPowers p(tau);
        if (rho > 0.0f) {
            const double delta = rho / rhoc, delta2 = delta * delta, delta3 = delta2 * delta;
            const double z = 1.0 + delta * (b1 * p.m050 + b2 * p.p175 + b3 * p.p4 + b4 * p.p12) +
                             2.0 * delta2 * (c1 * p.m025 + c2 * p.p250) +
                             3.0 * delta3 * (d1 * p.p350 + d2 * p.p12 + d3 * p.p20);
            const double h = m1 + ax1 * tau + (2.0 / 3.0) * m2 * p.m050 + (4.0 / 7.0) * m3 * p.m075 +
                             delta * (0.5 * b1 * p.m050 + 2.75 * b2 * p.p175 + 5.0 * b3 * p.p4 + 13.0 * b4 * p.p12) +
                             delta2 * (1.75 * c1 * p.m025 + 4.5 * c2 * p.p250) +
                             delta3 * (6.5 * d1 * p.p350 + 15.0 * d2 * p.p12 + 23.0 * d3 * p.p20);
            const double s = (m1 - 1.0) * (1.0 - std::log(static_cast<double>(tau))) + ax0 - std::log(delta) +
                             2.0 * m2 * p.m050 + (4.0 / 3.0) * m3 * p.m075 +
                             delta * (-1.5 * b1 * p.m050 + 0.75 * b2 * p.p175 + 3.0 * b3 * p.p4 + 11.0 * b4 * p.p12) +
                             delta2 * (-1.25 * c1 * p.m025 + 1.5 * c2 * p.p250) +
                             delta3 * (2.5 * d1 * p.p350 + 11.0 * d2 * p.p12 + 19.0 * d3 * p.p20);
            defined = store(b.out(0), rho * r * tK * z / 1.0e6) && defined;
            defined = store(b.out(1), r * tK * h / 1000.0) && defined;
            defined = store(b.out(2), r * s / 1000.0) && defined;
        }
        defined = store(b.out(3), r * (m1 + m2 * p.m050 + m3 * p.m075) / 1000.0) && defined;

        const float theta = 1.0f - tK / tc;
        if (theta >= 0.0f) {
            const double th = theta, th2 = th * th, th3 = th2 * th, th4 = th2 * th2, th10 = th4 * th4 * th2;
            defined = store(b.out(4), p0 * std::exp((a1 * th + a2 * std::pow(theta, 1.5f) + a3 * th2 + a4 * th4) /
                                                    (1.0 - th))) && defined;
            defined = store(b.out(5), q0 + q1 * std::pow(theta, 1.0f / 3.0f) + q2 * std::pow(theta, 2.0f / 3.0f) +
                                          q3 * std::pow(theta, 3.25f)) && defined;
            // All five terms belong inside the exponential: so the form gives the
            // saturated-liquid enthalpy (200 kJ/kg at 0 degC).
            defined = store(b.out(6), h0 * std::exp(n1 * std::pow(theta, 0.5f) + n2 * std::pow(theta, 1.25f) +
                                                    n3 * th3 + n4 * th4 + n5 * th10)) && defined;
        } else {
            defined = false;
        }
    }
    if (!defined) b.report(code::refrigerantUndefined, {.reals = {t, rho}});
}

}  // namespace vireo::st
