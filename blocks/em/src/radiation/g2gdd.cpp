//#Block G2GDD
//#Description
// Daily diffuse irradiation on the horizontal from the daily global irradiation, by one
// of six correlations of the diffuse fraction with the daily clearness index.
//#Layout
//#Inputs 2--3
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Daily global irradiation on the horizontal (J/m$^2$)
//#IN[1] Daily extraterrestrial irradiation on the horizontal, in the unit of input 1 (J/m$^2$)
//#IN[2] Model 4: sunset hour angle (degrees); model 5: day of the year (-)
//#Outputs
//#OUT[0] Daily diffuse irradiation on the horizontal, in the unit of input 1 (J/m$^2$)
//#Parameters
//#BP[0] Model, 0 to 5 (-): 0 to 3 polynomials in the clearness index, 4 Erbs, Klein and Duffie
// (with the sunset hour angle), 5 with a seasonal term
//#Strings
//#None
//#Remarks
// The clearness index is input 1 over input 2, taken as at most 1; the output is 0 unless both
// are above 0. Models 4 and 5 need input 3 connected: otherwise the block is refused at
// initialisation. Model 4 takes its winter form for a sunset hour angle below 1.4208 rad
// (81.4 degrees).
//#end
#include "blocks.h"

#include "angles.h"
#include "diffuse_fraction.h"

#include <algorithm>
#include <cmath>

namespace vireo::em {
namespace {

constexpr int kInputsRead[] = {2, 2, 2, 2, 3, 3};

const char* meaning(int model, int) { return model == 4 ? "the sunset hour angle" : "the day of the year"; }

float fraction(int model, float kt, float third) {
    switch (model) {
        default:
            return std::min(1.0f, 1.0045f + kt * (0.04349f + kt * (-3.5227f + 2.6313f * kt)));
        case 1: {
            const float k = std::clamp(kt, 0.1f, 0.7f);
            return std::min(0.97f, 0.91f + k * (1.154f + k * (-4.936f + 2.848f * k)));
        }
        case 2: {
            const float k = std::min(kt, 0.8f);
            if (k <= 0.17f) return 0.99f;
            return 1.188f + k * (-2.272f + k * (9.473f + k * (-21.856f + 14.648f * k)));
        }
        case 3:
            return std::min(1.0f, std::max(0.0f, 0.933f + kt * (1.109f + kt * (-5.196f + 2.972f * kt))));
        case 4:  // Erbs, Klein and Duffie (1982): winter and summer forms by the sunset hour angle
            if (third * kRad < 1.4208f) {
                if (kt < 0.715f)
                    return std::min(1.0f, 1.0f + kt * (-0.2727f + kt * (2.4495f + kt * (-11.9514f + 9.3879f * kt))));
                return 0.143f;
            }
            if (kt < 0.722f) return std::min(1.0f, 1.0f + kt * (0.2832f + kt * (-2.5557f + 0.8448f * kt)));
            return 0.175f;
        case 5: {
            const float season = std::sin(kTwoPi * (third - 40.0f) / 365.0f);
            return std::min(1.0f, std::max(0.0f, 0.938f + kt * (1.071f + kt * (-5.146f + 2.982f * kt)) +
                                                     season * (0.078f * kt - 0.009f) * kt * kt));
        }
    }
}

}  // namespace

bool g2gdd_block::tiesHold(View& b) {
    return fractionInputsConnected(b, {kInputsRead, meaning}, b.whole<P::model>());
}

void g2gdd_block::init(View& b) { b.ip<10>() = fractionSlot({kInputsRead, meaning}, b.whole<P::model>()); }

void g2gdd_block::step(View& b) {
    const int model = b.ip<10>() - 1;
    stepFraction(b, [&](float kt) { return fraction(model, kt, b.in(2)); });
}

}  // namespace vireo::em
