//#Block AM
//#Description
// Relative optical air mass from the sun's zenith angle.
//#Layout
//#Inputs 1
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Sun zenith angle $\theta_z$ (degrees)
//#Outputs
//#OUT[0] Relative air mass m; 4711 where the model has no value (-)
//#Parameters
//#BP[0] Model (-): 0 $m = 1/\cos\theta_z$, the zenith angle taken as 89 degrees from 89
// degrees on; 1 Kasten (1966), $m = 1/(\cos\theta_z + 0.15\,(93.885 - \theta_z)^{-1.253})$;
// 2 Kasten and Young (1989), $m = 1/(\cos\theta_z + 0.50572\,(96.07995 - \theta_z)^{-1.6364})$
//#Strings
//#None
//#Remarks
// A model other than 0, 1 or 2 is an error at initialisation. Models 1 and 2 have no value
// from 93.885 and 96.07995 degrees on, and for a zenith angle that is not a number; the
// block then gives 4711.
//#end
#include "blocks.h"

#include "angles.h"
#include "atmosphere.h"

#include <cmath>

namespace vireo::em {
namespace {

// IP[10]: the model, 1 to 3 (the parameter counts from 0); RP[0]: the degree in radians.
struct State {
    int& model;
    float& degree;
    explicit State(am_block::View& b) : model(b.ip<10>()), degree(b.rp<0>()) {}
};

constexpr Rule kRules[] = {{.parameter = 0, .low = 0, .high = 2, .whole = true, .code = code::outOfRange}};
constexpr double kNoValue = 4711.0;
constexpr float kSteepest = 89.0f;

}  // namespace

void am_block::init(View& b) {
    State s(b);
    s.degree = kRad;
    b.check(kRules);
    s.model = b.mode(0, 3) + 1;
}

void am_block::step(View& b) {
    State s(b);
    const double degree = s.degree;
    const float zenith = b.in(0);
    double m = kNoValue;
    switch (s.model) {
        case 2:
            m = kastenAirMass<double>(zenith, std::cos(zenith * degree), kNoValue);
            break;
        case 3:
            m = kastenYoungAirMass<double>(zenith, std::cos(zenith * degree), kNoValue);
            break;
        default: {
            const float z = std::fabs(zenith) < kSteepest ? zenith : kSteepest;  // NaN: the steepest
            m = 1.0 / std::cos(z * degree);
        }
    }
    b.out(0) = static_cast<float>(m);
}

}  // namespace vireo::em
