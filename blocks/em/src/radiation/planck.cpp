//#Block PLANCK
//#Description
// Spectral emissive power of a black body at a temperature, by Planck's law and by the
// approximations of Wien and of Rayleigh and Jeans, per unit wavelength or per unit
// photon energy.
//#Layout
//#Inputs 2
//#Outputs 3
//#Parameters 0--1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Wavelength in micrometres (form 0) or photon energy in electronvolts (form 1)
// (micrometre or eV)
//#IN[1] Temperature (K)
//#Outputs
//#OUT[0] Spectral emissive power by Planck's law, per micrometre (form 0) or per
// electronvolt (form 1) (W/(m$^2$ micrometre) or W/(m$^2$ eV))
//#OUT[1] The same by Wien's approximation (unit of output 1)
//#OUT[2] The same by the Rayleigh-Jeans approximation (unit of output 1)
//#Parameters
//#BP[0] Form, 0 to 1 (-): 0 per wavelength, 1 per photon energy; optional, 0 when left out
//#Strings
//#None
//#Remarks
// A form other than 0 or 1 is an error at initialisation. A temperature not above 0
// gives 0 in all three outputs; where h nu / k T reaches 30, Planck's and Wien's values
// are 0. A wavelength not above 0 is taken as 0.01 micrometres; a photon energy not above
// 0 gives 0 in all three outputs. Outputs beyond the range of single precision are held
// at its largest value.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "angles.h"

#include <cmath>
#include <limits>

namespace vireo::em {
namespace {

// The constants as the block has always used them, in single precision: c rounded from
// 2.99792458e8, Planck's and Boltzmann's constants of the older recommended values.
constexpr double kPiP = kPi;
constexpr double kC = 299792448.0f;
constexpr double kH = 6.626176e-34f;
constexpr double kK = 1.38066e-23f;
constexpr double kQ = 1.602177e-19f;

// IP[10]: the form, 1 per wavelength or 2 per photon energy (the parameter counts from
// 0). RP[0], RP[1]: e^x - 1 and e^x of the last step, x = h nu / k T.
struct State {
    int& form;
    float& expm1;
    float& exp;
    explicit State(planck_block::View& b) : form(b.ip<10>()), expm1(b.rp<0>()), exp(b.rp<1>()) {}
};

// The outputs leave in single precision; in between everything is double, where neither
// a fifth power of a wavelength nor a cube of a frequency leaves the range.
float toOutput(double v) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    return static_cast<float>(v > kLargest ? kLargest : (v < -kLargest ? -kLargest : v));
}

struct Exponentials {
    double expm1 = 0.0, exp = 0.0;  // 0 where h nu / k T reaches 30
};

Exponentials exponentials(double x) {
    if (!(x < 30.0)) return {};
    return {std::expm1(x), std::exp(x)};
}

}  // namespace

void planck_block::init(View& b) {
    State(b).form = b.whole<P::form>(1);
}

void planck_block::step(View& b) {
    State s(b);
    for (int i = 0; i < 3; ++i) b.out(i) = 0.0f;
    const double t = b.in(1);
    const double given = b.in(0);
    if (!std::isfinite(given) || !(t > 0.0) || !std::isfinite(t)) return;

    if (s.form == 2) {
        if (!(given > 0.0)) return;  // a photon energy not above 0 describes no radiation
        const double energy = kQ * given;
        const double nu = energy / kH;
        const Exponentials e = exponentials(energy / (kK * t));
        s.expm1 = static_cast<float>(e.expm1);
        s.exp = static_cast<float>(e.exp);
        const double planck = 2.0 * kPiP * kQ * nu * nu * nu / (kC * kC);
        if (e.expm1 > 0.0) {
            b.out(0) = toOutput(planck / e.expm1);
            b.out(1) = toOutput(planck / e.exp);
        }
        b.out(2) = toOutput(kQ * t * 2.0 * kPiP * nu * nu * kK / (kC * kC * kH));
        return;
    }

    const double lambda = given > 0.0 ? given * 1.0e-6 : 1.0e-8;
    const Exponentials e = exponentials(kH * kC / (lambda * kK * t));
    s.expm1 = static_cast<float>(e.expm1);
    s.exp = static_cast<float>(e.exp);
    const double lambda4 = lambda * lambda * lambda * lambda;
    const double planck = 2.0 * kPiP * kH * kC * kC / (lambda4 * lambda) / 1.0e6;
    if (e.expm1 > 0.0) {
        b.out(0) = toOutput(planck / e.expm1);
        b.out(1) = toOutput(planck / e.exp);
    }
    b.out(2) = toOutput(2.0 * kPiP * kC * kK * t / lambda4 / 1.0e6);
}

}  // namespace vireo::em
