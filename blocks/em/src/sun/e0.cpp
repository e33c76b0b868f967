//#Block E0, GON
//#Description
// The eccentricity correction factor of the earth's orbit (E0), or the extraterrestrial
// irradiance normal to the beam (GON), for a day of the year.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Day of the year, 1 on 1 January (d)
//#Outputs E0
//#OUT[0] Eccentricity correction factor E0 (-)
//#Outputs GON
//#OUT[0] Extraterrestrial irradiance normal to the beam, 1367 W/m$^2$ times E0 (W/m$^2$)
//#Parameters
//#BP[0] Formula (-): 0 the Fourier series of the day angle, 1 the fit 1 + 0.033 cos(2 pi d/365)
//#Strings
//#None
//#Remarks
// A formula other than 0 or 1 is an error at initialisation.
//#end
#include "blocks.h"

#include "solar.h"

namespace vireo::em {
namespace {

// IP[10]: the fit, 1 or 2 (the series parameter counts from 0).
struct State {
    int& fit;
    explicit State(e0_block::View& b) : fit(b.ip<10>()) {}
};

constexpr Rule kRules[] = {{.parameter = 0, .low = 0, .high = 1, .whole = true, .code = code::badMode}};

}  // namespace

void e0_block::init(View& b) {
    b.check(kRules);
    State(b).fit = b.mode(0, 2) + 1;
}

void e0_block::step(View& b) {
    const float factor = eccentricity(State(b).fit, b.in(0));
    b.out(0) = b.opMode() == 2 ? 1367.0f * factor : factor;  // GON: the normal irradiance
}

}  // namespace vireo::em
