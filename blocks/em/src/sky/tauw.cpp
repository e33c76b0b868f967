//#Block TAUW
//#Description
// Transmittance of the atmosphere's water vapour, at a wavelength of the spectral
// clear-sky model of Bird and Riordan (1986) or broadband (Bird and Hulstrom 1981), for a
// water path u, the precipitable water times the air mass.
//#Layout
//#Inputs 3
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Wavelength, taken within 0.3 to 4.0; spectral model only ($\mu$m)
//#IN[1] Precipitable water, or another factor of the water path (cm)
//#IN[2] Air mass, or the other factor of the water path (-)
//#Outputs
//#OUT[0] Transmittance (-)
//#Parameters
//#BP[0] Model (-): 0 spectral, $\tau = \exp(-0.2385\,c\,u/(1 + 20.07\,c\,u)^{0.45})$ with the
// absorption coefficient c at the wavelength, linear between the model's 122 wavelengths;
// 1 and -1 broadband, $\tau = 1 - 2.4959\,u/((1 + 79.034\,u)^{0.6828} + 6.385\,u)$
//#Strings
//#None
//#Remarks
// A model other than -1, 0 or 1 is an error at initialisation. A water path below 0, and
// one that is not a number, is taken as 0 (transmittance 1). The coefficients are the
// published table of the spectral model, the same that SEDES3 uses.
//#end
#include "blocks.h"

#include "atmosphere.h"
#include "spectral.h"

#include <cmath>

namespace vireo::em {
namespace {

// IP[10]: the model, 1 spectral or 2 broadband (the parameter counts from 0; -1 is 1).
struct State {
    int& model;
    explicit State(tauw_block::View& b) : model(b.ip<10>()) {}
};

constexpr Rule kRules[] = {{.parameter = 0, .low = -1, .high = 1, .whole = true, .code = code::outOfRange}};
constexpr int kSpectral = 1, kBroadband = 2;

}  // namespace

void tauw_block::init(View& b) {
    b.check(kRules);
    State(b).model = b.whole(0) == 0 ? kSpectral : kBroadband;
}

void tauw_block::step(View& b) {
    // In double: the product of two single-precision values cannot overflow there.
    const double product = static_cast<double>(b.in(1)) * b.in(2);
    const double u = product > 0.0 ? product : 0.0;
    if (State(b).model == kBroadband) {
        b.out(0) = static_cast<float>(1.0 - 2.4959 * u / (std::pow(1.0 + 79.034 * u, 0.6828) + 6.385 * u));
        return;
    }
    b.out(0) = static_cast<float>(waterVapourTransmittance(static_cast<double>(waterAbsorption(b.in(0))), u));
}

}  // namespace vireo::em
