// The sky-diffuse models of GH2GT, inline: tilted.cpp gives them to every caller, and the
// block's step takes them in with the sun it found, so that what the sun leaves in
// registers stays there. Single precision throughout, as the block's outputs are.
#ifndef VIREO_EM_SKY_MODELS_H
#define VIREO_EM_SKY_MODELS_H

#include "angles.h"
#include "tilted.h"

#include <algorithm>
#include <cmath>

namespace vireo::em::sky {

inline constexpr float kSolarConstant = 1367.0f;

[[gnu::always_inline]] inline float cube(float x) { return x * x * x; }

// The difference of two directions in degrees, within half a turn: a surface facing north
// (0) has a sun at 350 degrees 10 degrees to its west, not 350.
[[gnu::always_inline]] inline float azimuthDifference(float a, float b) {
    const float d = a - b;
    return d - 360.0f * std::floor((d + 180.0f) / 360.0f);
}

// Perez et al. (1987): the upper limits of the sky-clearness bins, and for each bin the
// coefficients f11 f12 f13 of the circumsolar brightening F1 and f21 f22 f23 of the
// horizon brightening F2.
inline constexpr float kClearnessLimit[7] = {1.056f, 1.253f, 1.586f, 2.134f, 3.23f, 5.98f, 10.08f};
inline constexpr float kBrightening[8][6] = {
    {0.041f, 0.621f, -0.105f, -0.040f, 0.074f, -0.031f},  {0.054f, 0.966f, -0.166f, -0.016f, 0.114f, -0.045f},
    {0.227f, 0.866f, -0.250f, 0.069f, -0.002f, -0.062f},  {0.486f, 0.670f, -0.373f, 0.148f, -0.137f, -0.056f},
    {0.819f, 0.106f, -0.465f, 0.268f, -0.497f, -0.029f},  {1.020f, -0.260f, -0.514f, 0.306f, -0.804f, 0.046f},
    {1.009f, -0.708f, -0.433f, 0.287f, -1.286f, 0.166f},  {0.936f, -1.121f, -0.352f, 0.226f, -2.449f, 0.383f},
};
inline constexpr float kCos85 = 0.08715574f;  // cos 85 degrees

// What every model needs of the sun, the surface and the sky, worked out once.
struct Sky {
    float g, dh;
    float bh;  // beam on the horizontal; noise that puts Dh above G is no negative beam
    float elevation;
    float beta, cb, sb;  // tilt in radians, its cosine and sine
    float skyView, groundView;
    float cosTheta;
    float zenith, cosZ;  // radians
    bool facing;         // the sun in front of the surface
    bool up;             // the sun above the horizon
    bool shines;         // both
    // The circumsolar ratio cos(theta) / cos(zenith), bounded at 20 for a sun near the
    // horizon; 0 for a sun behind the surface, which sees none of the sky around it.
    float r20;
    float ai;            // the anisotropy index: beam over extraterrestrial, on the horizontal
    // The extraterrestrial normal irradiance on the surface: nothing that comes from the
    // sun's direction, beam and circumsolar sky together, brings the surface more.
    float sunward;
    float isotropicGround;
    float sunAzimuth, surfaceAzimuth;  // degrees
};

// Sun azimuth less surface azimuth, degrees within half a turn.
[[gnu::always_inline]] inline float azimuthOffset(const Sky& s) {
    return azimuthDifference(s.sunAzimuth, s.surfaceAzimuth);
}

[[gnu::always_inline]] inline Sky skyOf(const SunGeometry& sun, const SunTrig& trig, bool facing,
                                        const Surface& surface, float g, float dh) {
    Sky s{};
    s.g = g;
    s.dh = dh;
    s.bh = std::max(0.0f, g - dh);
    s.elevation = 90.0f - sun.zenith;
    s.beta = surface.tilt * kRad;
    s.cb = trig.cosTilt;
    s.sb = trig.sinTilt;
    s.skyView = (1.0f + s.cb) / 2.0f;
    s.groundView = (1.0f - s.cb) / 2.0f;
    s.cosTheta = std::clamp(trig.cosIncidence, -1.0f, 1.0f);
    s.zenith = sun.zenith * kRad;
    s.cosZ = trig.cosZenith;
    s.facing = facing;
    s.up = s.elevation > 0.0f && s.elevation < 180.0f;
    s.shines = s.facing && s.up;
    const float ratio = s.cosZ > 0.0f ? s.cosTheta / s.cosZ : 20.0f;
    s.r20 = s.facing ? std::max(0.0f, ratio < 20.0f ? ratio : 20.0f) : 0.0f;
    const float goh = std::max(0.0f, kSolarConstant * sun.e0 * s.cosZ);
    s.ai = s.up && goh != 0.0f ? std::min(1.0f, s.bh / goh) : 0.0f;
    s.sunward = s.facing ? kSolarConstant * sun.e0 * std::max(0.0f, s.cosTheta) : 0.0f;
    s.isotropicGround = surface.reflectance * g * s.groundView;
    s.sunAzimuth = sun.sunAzimuth;
    s.surfaceAzimuth = surface.azimuth;
    return s;
}

// Beam on the surface; a low sun in front of a steep surface multiplies the horizontal
// beam at most tenfold, and no beam is stronger than the extraterrestrial one (a
// horizontal beam too strong for its sun is one no sky gives).
[[gnu::always_inline]] inline float beamOf(const Sky& s) {
    if (!(s.facing && s.elevation >= 3.0f && s.elevation < 177.0f)) return 0.0f;
    const float rb = s.cosTheta / s.cosZ;
    return std::clamp(rb < 10.0f ? rb * s.bh : 10.0f * s.bh, 0.0f, s.sunward);
}

// A circumsolar part of the sky on the surface, from the sun's direction: at most what
// the extraterrestrial irradiance leaves there beside the beam.
[[gnu::always_inline]] inline float circumsolar(const Sky& s, float part) {
    return std::min(part, std::max(0.0f, s.sunward - beamOf(s)));
}

// Temps and Coulson's ground: brighter towards the sun's azimuth, as seen from a surface
// that faces it.
[[gnu::always_inline]] inline float directionalGround(const Sky& s) {
    const float offset = azimuthOffset(s);
    if (!(std::fabs(offset) < 90.0f)) return s.isotropicGround;
    const float h = std::sin(s.zenith / 2.0f);
    return s.isotropicGround * (1.0f + h * h) * std::fabs(std::cos(offset * kRad));
}

// Temps and Coulson's circumsolar factor, which Klucher weights by the sky's clearness.
[[gnu::always_inline]] inline float circumsolarFactor(const Sky& s) {
    return s.shines ? s.cosTheta * s.cosTheta * cube(std::sin(s.zenith)) : 0.0f;
}

// Gueymard (1987, with its 1988 erratum): a clear and an overcast sky-diffuse ratio
// weighted by a cloud index from the diffuse fraction; the ground reflects more of the
// beam towards a surface facing the sun.
[[gnu::always_inline]] inline TiltedIrradiance gueymard(const Sky& s, float reflectance) {
    // The fit in the sun's height holds above the horizon; beneath it its polynomials grow
    // without bound, and the sky is taken as at sunrise.
    const float h = std::max(0.0f, s.elevation) / 100.0f;
    float np = 1.0f;
    if (s.g > 0.0f) {
        const float kd = s.dh / s.g;
        np = std::clamp(kd <= 0.227f ? 6.6667f * kd - 1.4167f : 1.2121f * kd - 0.1758f, 0.0f, 1.0f);
    }
    const float tiltFactor =
        (1.0f - 0.2249f * s.sb * s.sb + 0.1231f * std::sin(2.0f * s.beta) + 0.0342f * std::sin(4.0f * s.beta)) /
        0.7751f;
    const float a0 = -0.897f + h * (-3.364f + h * (3.96f - 1.909f * h));
    const float a1 = 4.448f + h * (-12.962f + h * (34.601f + h * (-48.784f + 27.511f * h)));
    const float a2 = -2.77f + h * (9.164f + h * (-18.876f + h * (23.776f - 13.014f * h)));
    const float a3 = 0.312f + h * (-0.217f + h * (-0.805f + 0.318f * h));
    const float c = s.cosTheta;
    const float clear = std::exp(a0 + c * (a1 + c * (a2 + a3 * c))) +
                        (0.408f + h * (-0.323f + h * (0.384f - 0.17f * h))) * tiltFactor;
    const float overcast = s.skyView - (s.groundView + (s.beta * s.cb - s.sb) / kPi) / 2.0f;

    const float specular =
        reflectance + std::exp(-1.77f + h * (-1.53f - 3.61f * h)) * std::fabs(std::cos(azimuthOffset(s) * kRad));
    const float beamShare = s.g > 0.0f ? std::min(1.0f, s.bh / s.g) : 0.0f;
    const float effective = reflectance * (1.0f - beamShare) + specular * beamShare;
    return {0.0f, 0.0f, s.dh * (clear * (1.0f - np) + np * overcast), effective * s.g * s.groundView};
}

// Perez et al. (1987): isotropic, circumsolar and horizon parts weighted by brightening
// functions of the sky's clearness and brightness.
[[gnu::always_inline]] inline float perez(const Sky& s, const SunGeometry& sun) {
    float bn = 0.0f;  // beam normal: the sky's clearness does not depend on the surface
    if (s.up && s.cosZ > 0.0f) bn = 1.0f / s.cosZ < 20.0f ? s.bh / s.cosZ : 20.0f * s.bh;
    const float airMass =
        sun.zenith < 90.0f ? 1.0f / (s.cosZ + 0.15f * std::pow(93.885f - sun.zenith, -1.253f)) : 36.510323f;
    // Brightness against the extraterrestrial normal irradiance, not the horizontal one. No
    // sky's diffuse irradiance along the sun's path outshines the extraterrestrial one:
    // beyond 1 lie only inputs no sky gives (a bright diffuse irradiance under a sun at the
    // horizon), on which the brightening functions grow without bound.
    const float brightness = sun.e0 > 0.0f ? std::min(s.dh * airMass / (kSolarConstant * sun.e0), 1.0f) : 0.0f;
    const float clearness = s.dh > 0.0f ? (s.dh + bn) / s.dh : 99.0f;
    // The first bin whose limit the clearness does not pass, as the count of limits it
    // passes (they rise): no branch to mispredict from one hour to the next.
    int bin = 0;
    for (int k = 0; k < 7; ++k) bin += static_cast<int>(!(clearness <= kClearnessLimit[k]));
    const float* f = kBrightening[bin];
    const float f1 = std::max(0.0f, f[0] + f[1] * brightness + f[2] * s.zenith);
    const float f2 = f[3] + f[4] * brightness + f[5] * s.zenith;
    const float isotropic = std::max(0.0f, s.dh * s.skyView * (1.0f - f1));
    const float aureole =
        s.shines ? circumsolar(s, s.dh * f1 * std::max(0.0f, s.cosTheta) / std::max(kCos85, s.cosZ)) : 0.0f;
    const float horizon = std::max(0.0f, s.dh * f2 * s.sb);
    return isotropic + aureole + horizon;
}

// One model, with the terms of the sky it does not take left out by the compiler.
template <SkyModel model>
[[gnu::always_inline]] inline TiltedIrradiance modelled(const SunGeometry& sun, const SunTrig& trig, bool facing,
                                                        const Surface& surface, float global, float diffuse) {
    const Sky s = skyOf(sun, trig, facing, surface, global, diffuse);
    const auto halfTilt3 = [&] { return cube(std::sin(s.beta / 2.0f)); };
    float dt = 0.0f, rt = s.isotropicGround;
    switch (model) {
        case SkyModel::isotropic:
            dt = s.dh * s.skyView;
            break;
        case SkyModel::tempsCoulson:
            dt = s.dh * s.skyView * (1.0f + halfTilt3()) * (1.0f + circumsolarFactor(s));
            rt = directionalGround(s);
            break;
        case SkyModel::bugler: {
            const float x = s.up ? s.dh - 0.05f * s.bh : s.dh;
            dt = std::max(0.0f, x * s.skyView + circumsolar(s, 0.05f * beamOf(s)));
            break;
        }
        case SkyModel::klucher: {
            // Dh above G (noise) makes the clear-sky weight 0, not negative.
            const float f = s.g > 0.0f ? std::max(0.0f, 1.0f - (s.dh / s.g) * (s.dh / s.g)) : 1.0f;
            dt = s.dh * s.skyView * (1.0f + f * halfTilt3()) * (1.0f + f * circumsolarFactor(s));
            rt = directionalGround(s);
            break;
        }
        case SkyModel::hay:
            // The sky splits into circumsolar and isotropic parts once the sun is a little
            // above the horizon, whether or not the surface sees the sun.
            dt = s.elevation > 2.0f && s.elevation < 178.0f
                     ? s.dh * (1.0f - s.ai) * s.skyView + circumsolar(s, s.dh * s.ai * s.r20)
                     : s.dh * s.skyView;
            break;
        case SkyModel::horizonFactor: {
            const float c = std::clamp(1.0115f - s.beta * (0.20293f + 0.080823f * s.beta), 0.5f, 1.0f);
            dt = s.up ? s.dh * c * (1.0f - s.ai) + circumsolar(s, s.dh * s.ai * s.r20) : c * s.dh;
            rt = directionalGround(s);
            break;
        }
        case SkyModel::skartveitOlseth: {
            // The zenith region lies out of view of a surface turned downwards.
            const float z = std::max(0.0f, 0.3f - 2.0f * s.ai);
            dt = s.up ? circumsolar(s, s.dh * s.ai * s.r20) +
                            s.dh * (z * std::max(0.0f, s.cb) + (1.0f - s.ai - z) * s.skyView)
                      : s.dh * s.skyView;
            break;
        }
        case SkyModel::gueymard: {
            const TiltedIrradiance t = gueymard(s, surface.reflectance);
            dt = t.diffuse;
            rt = t.ground;
            break;
        }
        case SkyModel::perez:
            dt = perez(s, sun);
            break;
        case SkyModel::reindl: {
            const float f = s.bh > 0.0f && s.g > 0.0f ? std::sqrt(s.bh / s.g) : 0.0f;
            const float c = s.up ? circumsolar(s, s.dh * s.ai * s.r20) : 0.0f;
            dt = c + s.dh * (1.0f + f * halfTilt3()) * (1.0f - s.ai) * s.skyView;
            break;
        }
    }
    const float bt = beamOf(s);
    return {bt + dt + rt, bt, dt, rt};
}

// The models by their number: facing as the caller decides it.
[[gnu::always_inline]] inline TiltedIrradiance tilted(SkyModel model, const SunGeometry& sun, const SunTrig& trig,
                                                      bool facing, const Surface& surface, float global,
                                                      float diffuse) {
    switch (model) {
#define VIREO_SKY_MODEL(m) \
    case SkyModel::m: return modelled<SkyModel::m>(sun, trig, facing, surface, global, diffuse);
        VIREO_SKY_MODEL(isotropic)
        VIREO_SKY_MODEL(tempsCoulson)
        VIREO_SKY_MODEL(bugler)
        VIREO_SKY_MODEL(klucher)
        VIREO_SKY_MODEL(hay)
        VIREO_SKY_MODEL(horizonFactor)
        VIREO_SKY_MODEL(skartveitOlseth)
        VIREO_SKY_MODEL(gueymard)
        VIREO_SKY_MODEL(perez)
        VIREO_SKY_MODEL(reindl)
#undef VIREO_SKY_MODEL
    }
    // No model: the beam and the isotropic ground alone.
    return modelled<static_cast<SkyModel>(kSkyModels)>(sun, trig, facing, surface, global, diffuse);
}

}  // namespace vireo::em::sky

#endif
