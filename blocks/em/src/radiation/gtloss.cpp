//#Block GTLOSS
//#Description
// Radiation that passes the glazing of a tilted surface (a collector cover, a window):
// the beam, sky-diffuse and ground-reflected parts on the plane, each reduced by an
// incidence-angle modifier of the glazing and by soiling, and the transmitted total
// relative to that at normal incidence. Four optical models: a single air-glass
// interface (Sjerps), the ASHRAE form, three absorbing layers (Krauter) and a stack with
// a coherent thin film (Lanzer). The sky-diffuse part goes in at one equivalent angle or
// by integration over the sky weighted by a clear-sky radiance distribution.
//#Layout
//#Inputs 10--17
//#Outputs 5
//#Parameters 2--8
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Global radiation on the tilted plane (any unit)
//#IN[1] Beam radiation on the tilted plane (unit of input 1)
//#IN[2] Sky-diffuse radiation on the tilted plane (unit of input 1)
//#IN[3] Ground-reflected radiation on the tilted plane (unit of input 1)
//#IN[4] Surface tilt (degrees)
//#IN[5] Surface azimuth from north through east, south 180 (degrees)
//#IN[6] Sun azimuth from north through east (degrees)
//#IN[7] Sun elevation (degrees)
//#IN[8] Incidence angle of the beam on the surface (degrees)
//#IN[9] Soiling loss at normal incidence, 0 to 1 (-)
//#IN[10] Refractive index of medium 1, the glazing behind air; models 0, 2 and 3 (-)
//#IN[11] Refractive index of medium 2; models 2 and 3 (-)
//#IN[12] Refractive index of medium 3, the film of model 3; models 2 and 3 (-)
//#IN[13] Refractive index of medium 4; models 2 and 3 (-)
//#IN[14] Extinction coefficient of layer 1, per unit of the thicknesses; model 2
// (1/length)
//#IN[15] Extinction coefficient of layer 2; model 2 (1/length)
//#IN[16] Wavelength, in the unit of the film thickness; model 3 (length)
//#Outputs
//#OUT[0] Transmitted total radiation (unit of input 1)
//#OUT[1] Transmitted beam radiation (unit of input 1)
//#OUT[2] Transmitted sky-diffuse radiation (unit of input 1)
//#OUT[3] Transmitted ground-reflected radiation (unit of input 1)
//#OUT[4] Transmitted total over the transmitted total at normal incidence of the beam;
// 1 when either is 0 (-)
//#Parameters
//#BP[0] Optical model, 0 to 3 (-): 0 Sjerps, 1 ASHRAE, 2 Krauter, 3 Lanzer
//#BP[1] Sky diffuse, 0 to 1 (-): 0 at the equivalent angle, 1 by sky integration
//#BP[2] ASHRAE coefficient b0, not below 0; model 1 (-)
//#BP[3] Thickness of layer 1, not below 0; model 2 (length)
//#BP[4] Thickness of layer 2, not below 0; model 2 (length)
//#BP[5] Thickness of layer 3 or of the film, not below 0 (length): layer 3 in model 2, the
// film in model 3
//#BP[6] Number of azimuth intervals of the sky integration, 1 to 3600 (-)
//#BP[7] Number of elevation intervals of the sky integration, 1 to 900 (-)
//#Strings
//#None
//#Remarks
// Model 0 needs input 11, model 2 inputs 11 to 16, model 3 inputs 11 to 14 and 17
// (counted from 1); a model whose inputs are not connected is refused at
// initialisation, as are a model or diffuse treatment out of range, negative
// coefficients and thicknesses, and interval counts out of range with the sky
// integration. The equivalent angles are $59.68 - 0.1388 b + 0.001497 b^2$ for the sky
// and $90 - 0.5788 b + 0.002693 b^2$ for the ground (b the tilt in degrees). The sky
// integration weights every element in front of the surface by its clear-sky radiance
// and its projection on the surface; with no element in front of it the transmitted
// sky-diffuse part is 0. Optical inputs that describe no glazing (an index or a
// wavelength not above 0) let nothing through; inputs that are not numbers give 0 in
// the first four outputs and 1 in the fifth.
//#end
#include "blocks.h"

#include "angles.h"
#include "glazing.h"

#include <cmath>
#include <limits>

namespace vireo::em {
namespace {

// IP[10] model, IP[11] diffuse treatment, IP[12] and IP[13] the interval counts of the
// sky integration, IP[14] kept 0: the second pass at normal incidence is a local matter
// of the step.
struct State {
    int& model;
    int& skyIntegration;
    int& azimuthIntervals;
    int& elevationIntervals;
    int& secondPass;
    explicit State(gtloss_block::View& b)
        : model(b.ip<10>()), skyIntegration(b.ip<11>()), azimuthIntervals(b.ip<12>()),
          elevationIntervals(b.ip<13>()), secondPass(b.ip<14>()) {}
};

using P = gtloss_block::P;

// The rules of the parameters that count only for some models or with the sky integration.
constexpr float kMax = std::numeric_limits<float>::max();
constexpr Rule kAshrae{.parameter = P::b0, .low = 0, .high = kMax, .code = code::badAshraeCoefficient};
constexpr Rule kFilm{.parameter = P::layer3, .low = 0, .high = kMax, .code = code::badFilmThickness};
constexpr Rule kLayers[] = {
    {.parameter = P::layer1, .low = 0, .high = kMax, .code = code::badLayerThickness1},
    {.parameter = P::layer2, .low = 0, .high = kMax, .code = code::badLayerThickness2},
};
// Every element costs a modifier at every step: a tenth of a degree is finer than the
// radiance distribution and the modifiers vary.
constexpr Rule kIntervals[] = {
    {.parameter = P::azimuthIntervals, .low = 1, .high = 3600, .whole = true, .code = code::badSkyIntervals},
    {.parameter = P::elevationIntervals, .low = 1, .high = 900, .whole = true, .code = code::badSkyIntervals},
};

constexpr int kFirstOptical = 10;
constexpr const char* kOpticalInputs[] = {
    "refractive index of medium 1", "refractive index of medium 2", "refractive index of medium 3",
    "refractive index of medium 4", "extinction coefficient of layer 1", "extinction coefficient of layer 2",
    "wavelength"};

// The optical inputs a model reads; a model number outside 0..3 is computed as model 3.
bool needs(int model, int input) {
    switch (model) {
        case 0: return input == 10;
        case 1: return false;
        case 2: return input >= 10 && input <= 15;
        default: return (input >= 10 && input <= 13) || input == 16;
    }
}

glazing::Glazing glazingOf(const gtloss_block::View& b, int model) {
    glazing::Glazing g;
    g.model = model;
    g.b0 = b.par<P::b0>();
    g.stack.index = {1.0f, b.in(10, 1.0f), b.in(11, 1.0f), b.in(12, 1.0f), b.in(13, 1.0f)};
    g.stack.extinction = {b.in(14), b.in(15), 0.0f};
    g.stack.thickness = {b.par<P::layer1>(), b.par<P::layer2>(), b.par<P::layer3>()};
    g.wavelength = b.in(16);
    g.film = b.par<P::layer3>();
    return g;
}

// Whether the inputs the step reads are numbers; anything else is not radiation to pass on.
bool numbers(const BlockView& b, int model) {
    for (int i = 0; i < b.identity().maxInputs; ++i)
        if ((i < kFirstOptical || needs(model, i)) && !std::isfinite(b.in(i))) return false;
    return true;
}

float skyEquivalentAngle(float tilt) { return 59.68f - 0.1388f * tilt + 0.001497f * tilt * tilt; }
float groundEquivalentAngle(float tilt) { return 90.0f - 0.5788f * tilt + 0.002693f * tilt * tilt; }

struct Step {
    const glazing::Modifier& modifier;
    float loss;  // soiling at normal incidence

    // One part through the glazing at one angle; at normal incidence no model is needed.
    float through(float radiation, float incidence) const {
        if (incidence == 0.0f) return radiation * glazing::soiling(loss, 0.0f);
        if (!(incidence < 90.0f)) return 0.0f;
        return radiation * modifier(incidence) * glazing::soiling(loss, incidence);
    }

    // The radiance-weighted mean of the factor over the sky elements in front of the surface.
    float skyFactor(int azimuthIntervals, int elevationIntervals, float tilt, float surfaceAzimuth,
                    float sunAzimuth, float sunElevation) const {
        double weights = 0.0, weighted = 0.0;
        for (int j = 1; j <= elevationIntervals; ++j) {
            const float e = (static_cast<float>(j) - 0.5f) * 90.0f / static_cast<float>(elevationIntervals);
            for (int i = 1; i <= azimuthIntervals; ++i) {
                const float a = (static_cast<float>(i) - 0.5f) * 360.0f / static_cast<float>(azimuthIntervals);
                const float phi = glazing::skyElementIncidence(a, e, surfaceAzimuth, tilt);
                if (!(phi < 90.0f)) continue;
                const float w = glazing::skyRadiance(sunAzimuth, sunElevation, a, e) * std::cos(kRad * phi) *
                                std::cos(kRad * e);
                weights += w;
                weighted += w * through(1.0f, phi);
            }
        }
        return weights > 0.0 ? static_cast<float>(weighted / weights) : 0.0f;
    }
};

}  // namespace

bool gtloss_block::tiesHold(View& b) {
    const int model = b.whole<P::model>();
    bool held = true;
    if (model == 1) held = b.check(kAshrae, b.par<P::b0>()) && held;
    if (model != 0 && model != 1) held = b.check(kFilm, b.par<P::layer3>()) && held;
    if (model == 2) held = b.check(kLayers) && held;
    if (b.whole<P::skyDiffuse>() == 1) held = b.check(kIntervals) && held;
    return held;
}

bool gtloss_block::checksHold(View& b) {
    // The optical values come only from connected inputs: a model that reads one the
    // model leaves open is refused, naming the first of them.
    const int model = b.whole<P::model>();
    for (int i = kFirstOptical; i < b.identity().maxInputs; ++i) {
        if (!needs(model, i) || b.connected(i)) continue;
        b.report(code::glazingInputMissing, {.text = kOpticalInputs[i - kFirstOptical], .ints = {model, i + 1}});
        return false;
    }
    return true;
}

void gtloss_block::init(View& b) {
    State s(b);
    s.model = b.whole<P::model>();
    s.skyIntegration = b.whole<P::skyDiffuse>();
    s.azimuthIntervals = b.whole<P::azimuthIntervals>();
    s.elevationIntervals = b.whole<P::elevationIntervals>();
    s.secondPass = 0;
}

void gtloss_block::step(View& b) {
    const State s(b);
    if (!numbers(b, s.model)) {
        for (int i = 0; i < 4; ++i) b.out(i) = 0.0f;
        b.out(4) = 1.0f;
        return;
    }
    const float global = b.in(0), beam = b.in(1), diffuse = b.in(2), ground = b.in(3);
    const float tilt = b.in(4), incidence = b.in(8);
    const glazing::Modifier modifier(glazingOf(b, s.model));
    const Step step{modifier, b.in(9)};

    const float beamThrough = step.through(beam, incidence);
    float diffuseThrough = 0.0f;
    if (s.skyIntegration == 1) {
        diffuseThrough = diffuse * step.skyFactor(s.azimuthIntervals, s.elevationIntervals, tilt, b.in(5), b.in(6),
                                                  b.in(7));
    } else {
        diffuseThrough = step.through(diffuse, skyEquivalentAngle(tilt));
    }
    const float groundThrough = step.through(ground, groundEquivalentAngle(tilt));

    const float total = beamThrough + diffuseThrough + groundThrough;
    b.out(0) = total;
    b.out(1) = beamThrough;
    b.out(2) = diffuseThrough;
    b.out(3) = groundThrough;
    b.out(4) = 1.0f;
    if (incidence > 1.0e-35f && global > 0.0f) {
        // The pass at normal incidence changes the beam alone; sky and ground parts stand.
        const float normalTotal = step.through(beam, 0.0f) + diffuseThrough + groundThrough;
        if (normalTotal != 0.0f) b.out(4) = total / normalTotal;
    }
}

}  // namespace vireo::em
