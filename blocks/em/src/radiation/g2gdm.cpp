//#Block G2GDM
//#Description
// Monthly mean daily diffuse irradiation on the horizontal from the monthly mean daily
// global irradiation, by one of six correlations of the diffuse fraction with the
// monthly clearness index.
//#Layout
//#Inputs 2--3
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Monthly mean daily global irradiation on the horizontal (J/m$^2$)
//#IN[1] Monthly mean daily extraterrestrial irradiation on the horizontal, in the unit of
// input 1 (J/m$^2$)
//#IN[2] Models 3 and 4: sunset hour angle (degrees); model 5: day of the year (-)
//#Outputs
//#OUT[0] Monthly mean daily diffuse irradiation on the horizontal, in the unit of input 1
// (J/m$^2$)
//#Parameters
//#BP[0] Model, 0 to 5 (-): 0 Liu and Jordan, 1 and 2 polynomials in the clearness index,
// 3 Collares-Pereira and Rabl (with the sunset hour angle), 4 Erbs, Klein and Duffie
// (with the sunset hour angle), 5 with a seasonal term
//#Strings
//#None
//#Remarks
// The clearness index is input 1 over input 2, taken as at most 1; the output is 0 unless both
// are above 0. Models 3 to 5 need input 3 connected: otherwise the block is refused at
// initialisation. Model 4 takes its winter form for a sunset hour angle up to 1.4208 rad
// (81.4 degrees).
//#end
#include "blocks.h"

#include "angles.h"
#include "diffuse_fraction.h"

#include <algorithm>
#include <cmath>

namespace vireo::em {
namespace {

constexpr int kInputsRead[] = {2, 2, 2, 3, 3, 3};

const char* meaning(int model, int) { return model == 5 ? "the day of the year" : "the sunset hour angle"; }

float fraction(int model, float kt, float third) {
    switch (model) {
        default: {  // Liu and Jordan (1960)
            const float k = std::clamp(kt, 0.17f, 0.75f);
            return 1.39f + k * (-4.027f + k * (5.531f - 3.108f * k));
        }
        case 1: {
            const float k = std::clamp(kt, 0.3f, 0.8f);
            return 1.317f + k * (-3.023f + k * (3.372f - 1.769f * k));
        }
        case 2:
            return std::min(1.0f, std::max(0.0f, 1.105f - 1.329f * kt));
        case 3: {  // Collares-Pereira and Rabl (1979)
            const float w = third * kRad - kPi / 2.0f;
            return std::min(1.0f, 0.775f + 0.347f * w - (0.505f + 0.261f * w) * std::cos(2.0f * kt - 1.8f));
        }
        case 4: {  // Erbs, Klein and Duffie (1982): winter and summer forms by the sunset hour angle
            const float k = std::clamp(kt, 0.3f, 0.8f);
            if (third * kRad <= 1.4208f) return 1.391f + k * (-3.56f + k * (4.189f - 2.137f * k));
            return 1.311f + k * (-3.022f + k * (3.427f - 1.821f * k));
        }
        case 5:
            return std::min(1.0f, std::max(0.0f, 1.163f + 0.053f * std::sin(kTwoPi * (third - 40.0f) / 365.0f) -
                                                     1.443f * kt));
    }
}

}  // namespace

bool g2gdm_block::tiesHold(View& b) {
    return fractionInputsConnected(b, {kInputsRead, meaning}, b.whole<P::model>());
}

void g2gdm_block::init(View& b) { b.ip<10>() = fractionSlot({kInputsRead, meaning}, b.whole<P::model>()); }

void g2gdm_block::step(View& b) {
    const int model = b.ip<10>() - 1;
    stepFraction(b, [&](float kt) { return fraction(model, kt, b.in(2)); });
}

}  // namespace vireo::em
