//#Block SKYO, SKYIO, SKYIM, SKYIC, SKYC
//#Description
// Relative luminance of a point of the sky for five sky types from overcast to clear: a
// scattering term of the angle between the point and the sun, a gradation term of the
// point's elevation and a term of the sun's elevation, multiplied by a scale value.
//#Layout
//#Inputs 5
//#Outputs 2
//#Parameters 0
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Scale value (-)
//#IN[1] Azimuth of the point of the sky (degrees)
//#IN[2] Elevation of the point of the sky (degrees)
//#IN[3] Azimuth of the sun (degrees)
//#IN[4] Elevation of the sun (degrees)
//#Outputs
//#OUT[0] Luminance: the scale value times the three terms; 0 for a point below the
// horizon (-)
//#OUT[1] Angle between the point and the sun (degrees)
//#Parameters
//#None
//#Strings
//#None
//#Remarks
// The sky type is the name: SKYO overcast, SKYIO intermediate overcast, SKYIM
// intermediate mean, SKYIC intermediate clear, SKYC clear. With the scale value $L_0$, the
// angle $\eta$ between the point and the sun (radians), the point's elevation $\gamma$ and
// the sun's elevation $\gamma_s$ the luminance is $L = L_0 \, (a + b c \, e^{-3\eta}
// \cos\eta) \, (d + e \sin^{0.6}\gamma) \, (p + q \sin\gamma_s + s \cos\gamma_s)$, with
// the coefficients a b c d e p q s of the sky type. The scattering term multiplies b, c
// and $e^{-3\eta}\cos\eta$ as the coefficients were handed down; its published source has
// not been confirmed. An input that is not a number gives 0 in both outputs.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "angles.h"

#include <cmath>
#include <cstdlib>

namespace vireo::em {
namespace {

// RP[0]: the degree in radians, set at initialisation.
struct State {
    float& degree;
    explicit State(skyo_block::View& b) : degree(b.rp<0>()) {}
};

struct SkyType {
    float a, b, c, d, e, p, q, s;
};
constexpr SkyType kSkyTypes[5] = {
    {32.33f, 13.16f, 3.24f, 1.18f, 0.23f, 0.76f, 0.13f, 0.2f},     // SKYO
    {17.82f, 23.99f, 13.35f, 1.7f, 0.89f, 0.45f, 0.1f, 0.59f},     // SKYIO
    {14.41f, 69.7f, 10.18f, 2.03f, 1.31f, 0.83f, -0.29f, 0.38f},   // SKYIM
    {13.05f, 124.96f, 7.49f, 2.21f, 1.54f, 0.83f, -0.28f, 0.42f},  // SKYIC
    {12.89f, 243.38f, 3.26f, 2.25f, 1.59f, 1.04f, -0.41f, 0.2f},   // SKYC
};

}  // namespace

void skyo_block::init(View& b) { State(b).degree = kRad; }

void skyo_block::step(View& b) {
    const float r = State(b).degree;
    b.out(0) = 0.0f;
    b.out(1) = 0.0f;
    for (int i = 0; i < 5; ++i)
        if (std::isnan(b.in(i))) return;
    // Any name number but those of the four other types gives the overcast sky.
    const int type = std::abs(b.opMode());
    const SkyType& k = kSkyTypes[type >= 2 && type <= 5 ? type - 1 : 0];
    const float pointZenith = (90.0f - b.in(2)) * r, sunZenith = (90.0f - b.in(4)) * r;
    const float cosEta = std::cos(sunZenith) * std::cos(pointZenith) +
                         std::sin(sunZenith) * std::sin(pointZenith) * std::cos((b.in(1) - b.in(3)) * r);
    const float eta = block::acosClamped(cosEta);
    if (std::isnan(eta)) return;  // an angle too large for its cosine
    b.out(1) = eta / r;
    // Below the horizon the gradation term has no value: no sky there.
    if (!(b.in(2) >= 0.0f)) return;
    const float sinElevation = std::cos(pointZenith);
    const float scattering = k.a + k.b * k.c * std::exp(-3.0f * eta) * std::cos(eta);
    // At the horizon itself the single-precision cosine of 90 degrees is a hair below 0.
    const float gradation = k.d + k.e * std::pow(sinElevation > 0.0f ? sinElevation : 0.0f, 0.6f);
    const float third = k.p + k.q * std::cos(sunZenith) + k.s * std::sin(sunZenith);
    // The product in double: a huge scale value overflows to infinity, never to NaN.
    const double l = static_cast<double>(b.in(0)) * scattering * gradation * third;
    b.out(0) = std::isnan(l) ? 0.0f : static_cast<float>(l);
}

}  // namespace vireo::em
