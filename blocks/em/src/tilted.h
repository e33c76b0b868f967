// Irradiance on a tilted surface from the global and diffuse irradiance on the horizontal,
// by ten sky-diffuse models, as a function of where the sun stands: the block GH2GT finds
// the sun and the incidence angle and hands them here, and tests can give any geometry.
#ifndef VIREO_EM_TILTED_H
#define VIREO_EM_TILTED_H

namespace vireo::em {

// In the order of GH2GT's model parameter.
enum class SkyModel {
    isotropic,        // Liu and Jordan
    tempsCoulson,     // Temps and Coulson 1977
    bugler,           // Bugler 1977
    klucher,          // Klucher 1979
    hay,              // Hay 1979
    horizonFactor,    // Willmott 1982
    skartveitOlseth,  // Skartveit and Olseth 1986
    gueymard,         // Gueymard 1987
    perez,            // Perez et al. 1987, eight sky-clearness bins
    reindl,           // Reindl et al. 1990
};
inline constexpr int kSkyModels = 10;

// Where the sun stands, in degrees.
struct SunGeometry {
    float incidence;   // between the sun and the surface's normal
    float zenith;      // 90 minus the elevation, refraction included
    float sunAzimuth;  // from north through east
    float e0;          // eccentricity factor of the earth's orbit
};

struct Surface {
    float tilt;         // degrees from the horizontal
    float azimuth;      // degrees from north through east, as the sun's
    float reflectance;  // of the ground in front of it
};

// W/m²: total = beam + diffuse (from the sky) + ground (reflected).
struct TiltedIrradiance {
    float total, beam, diffuse, ground;
};

TiltedIrradiance tiltedIrradiance(SkyModel model, const SunGeometry& sun, const Surface& surface, float global,
                                  float diffuse);

// The cosines and sines that a caller who found the sun has at hand, so that the angles
// need not be turned back into them.
struct SunTrig {
    float cosIncidence;  // beyond [-1, 1] it is taken as the nearest limit
    float cosZenith;     // of the zenith angle of `SunGeometry::zenith`
    float sinTilt, cosTilt;
};
// The same as above from them; `sun.incidence` is not read: the sun is in front of the
// surface when the incidence's cosine is positive.
TiltedIrradiance tiltedIrradiance(SkyModel model, const SunGeometry& sun, const SunTrig& trig,
                                  const Surface& surface, float global, float diffuse);

// Spencer's series for the eccentricity factor with its published constant 1.000110, the
// form the tilted-surface models take (day of year with leap years folded, 1 on 1 January).
float spencerEccentricity(float dayOfYear);

}  // namespace vireo::em

#endif
