//#Block G2GDH
//#Description
// Diffuse irradiance on the horizontal from the global irradiance, hourly values, by one
// of eight correlations of the diffuse fraction with the clearness index.
//#Layout
//#Inputs 2--5
//#Outputs 1
//#Parameters 1
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Global irradiance on the horizontal (W/m$^2$)
//#IN[1] Extraterrestrial irradiance on the horizontal, in the unit of input 1 (W/m$^2$)
//#IN[2] Model 4: ground reflectance (-); models 5 to 7: sun zenith angle (degrees)
//#IN[3] Model 7: ambient temperature ($^\circ$C)
//#IN[4] Model 7: relative humidity, 0 to 1 (-)
//#Outputs
//#OUT[0] Diffuse irradiance on the horizontal, in the unit of input 1 (W/m$^2$)
//#Parameters
//#BP[0] Model, 0 to 7 (-): 0 Orgill and Hollands, 1 Erbs, Klein and Duffie, 2 back-scatter
// quadratic, 3 Reindl (clearness index), 4 back-scatter with ground reflectance,
// 5 clearness index and sun elevation, 6 Reindl (and sun elevation), 7 Reindl (and
// ambient temperature and humidity)
//#Strings
//#None
//#Remarks
// The clearness index is input 1 over input 2, taken as at most 1; the output is 0 unless both
// are above 0. A model that reads input 3, input 4 or input 5 needs it connected: otherwise the
// block is refused at initialisation. The ground reflectance of model 4 is taken within
// 0 to 1; model 5 gives a diffuse fraction of 1 with the sun at or below the horizon.
//#end
#include "blocks.h"

#include "angles.h"
#include "diffuse_fraction.h"

#include <algorithm>
#include <cmath>

namespace vireo::em {
namespace {

constexpr int kInputsRead[] = {2, 2, 2, 2, 3, 3, 3, 5};
const char* meaning(int model, int input) {
    if (input == 2) return model == 4 ? "the ground reflectance" : "the sun zenith angle";
    return input == 3 ? "the ambient temperature" : "the relative humidity";
}

float sinElevation(float zenith) { return std::sin((90.0f - zenith) * kRad); }

// The diffuse fraction of the global irradiance at the clearness index kt.
float fraction(int model, float kt, const BlockView& b) {
    switch (model) {
        default:  // Orgill and Hollands (1977)
            if (kt <= 0.35f) return 1.0f - 0.249f * kt;
            return kt <= 0.75f ? 1.557f - 1.84f * kt : 0.177f;
        case 1:  // Erbs, Klein and Duffie (1982)
            if (kt <= 0.22f) return 1.0f - 0.09f * kt;
            if (kt <= 0.8f) return 0.9511f + kt * (-0.1604f + kt * (4.388f + kt * (-16.638f + 12.336f * kt)));
            return 0.165f;
        case 2: {  // back-scatter: the smaller root of a quadratic, written so that it
                   // keeps its digits as kt goes to 0
            const float a = 1.1148272f, b2 = 0.491f;
            const float k = std::min(kt, 0.75f);
            const float r = std::sqrt((1.0f - b2) * (1.0f - b2) - 4.0f * a * b2 * b2 * k * (1.0f - a * k));
            return 2.0f * b2 * (1.0f - a * k) / ((1.0f - b2) + r);
        }
        case 3:  // Reindl, Beckman and Duffie (1990), clearness index only
            if (kt <= 0.3f) return std::min(1.0f, 1.02f - 0.248f * kt);
            return kt < 0.78f ? 1.45f - 1.67f * kt : 0.147f;
        case 4: {  // back-scatter with the ground's reflectance: the smaller root again
            const float rho = std::clamp(b.in(2), 0.0f, 1.0f);
            const float x = std::min(kt, 0.8f) / 0.855f;
            const float c = 1.0304568f + rho * x * (1.0f - 2.0f * x);
            const float r = std::sqrt(std::max(0.0f, c * c - 4.0f * x * (1.0f - x) * (1.0f - rho * rho * x * x)));
            return std::clamp(2.0f * (1.0f - x) * (1.0f + rho * x) / (c + r), 0.0f, 1.0f);
        }
        case 5: {  // clearness index and sun elevation
            const float h = 90.0f - b.in(2);
            // The fit has no sky without a sun: its first break point reaches 0.2 near
            // -3 degrees, where it would divide by zero.
            if (!(h > 0.0f)) return 1.0f;
            const float e = std::exp(-0.06f * h);
            const float k1 = 0.87f - 0.56f * e, d1 = 0.15f + 0.43f * e;
            if (kt <= 0.2f) return 1.0f;
            const float knee = 1.09f * k1;
            const float s = std::sin(kPi * ((std::min(kt, knee) - 0.2f) / (k1 - 0.2f) - 0.5f));
            const float K = 0.5f * (1.0f + s);
            const float shape = (1.0f - d1) * (0.27f * std::sqrt(K) + 0.73f * K * K);
            return kt <= knee ? 1.0f - shape : 1.0f - knee * shape / kt;
        }
        case 6: {  // Reindl, Beckman and Duffie (1990), and sun elevation
            const float s = sinElevation(b.in(2));
            if (kt <= 0.3f) return std::min(1.0f, 1.02f - 0.254f * kt + 0.0123f * s);
            return std::clamp(kt < 0.78f ? 1.4f - 1.749f * kt + 0.177f * s : 0.486f * kt - 0.182f * s, 0.1f, 0.97f);
        }
        case 7: {  // Reindl, Beckman and Duffie (1990), and ambient temperature and humidity
            const float s = sinElevation(b.in(2)), t = b.in(3), phi = b.in(4);
            if (kt <= 0.3f) return std::min(1.0f, 1.0f - 0.232f * kt + 0.0239f * s - 0.000682f * t + 0.0195f * phi);
            if (kt < 0.78f)
                return std::clamp(1.329f - 1.716f * kt + 0.267f * s - 0.00357f * t + 0.106f * phi, 0.1f, 0.97f);
            return std::max(0.1f, 0.426f * kt - 0.256f * s + 0.00349f * t + 0.0734f * phi);
        }
    }
}

}  // namespace

bool g2gdh_block::tiesHold(View& b) {
    return fractionInputsConnected(b, {kInputsRead, meaning}, b.whole<P::model>());
}

void g2gdh_block::init(View& b) { b.ip<10>() = fractionSlot({kInputsRead, meaning}, b.whole<P::model>()); }

void g2gdh_block::step(View& b) {
    const int model = b.ip<10>() - 1;
    stepFraction(b, [&](float kt) { return fraction(model, kt, b); });
}

}  // namespace vireo::em
