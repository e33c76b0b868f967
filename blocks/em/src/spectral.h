// The spectral clear-sky model of Bird and Riordan (SPCTRAL2) on its 122 wavelengths, its
// table, and SEDES3's spectrum for an hour of measured radiation: the clear-sky spectrum
// scaled to the measurements, moved onto a tilted surface by the Perez model and
// modified for cloud cover. Single precision, as the block's output is, except the
// measured irradiances, the tilt and the hour's mean angles, which are double.
#ifndef VIREO_EM_SPECTRAL_H
#define VIREO_EM_SPECTRAL_H

#include <array>
#include <span>

namespace vireo::em {

// The published SPCTRAL2 table (data/spctral2-table.csv): wavelength (um), extraterrestrial
// irradiance at mean sun-earth distance (W/(m² um)) and the absorption coefficients of
// water vapour, ozone and the uniformly mixed gases.
struct SpectralRow {
    float wavelength, extraterrestrial, water, ozone, mixedGas;
};
inline constexpr int kSpectralRows = 122;
extern const SpectralRow spectralTable[kSpectralRows];

// The water-vapour absorption coefficient at a wavelength (um), linear between the table's
// rows; wavelengths outside 0.3 to 4.0 are taken at the nearer end.
float waterAbsorption(float wavelength);

// The cloud-cover coefficients a1 a2 b1 b2 c1 c2 at 320, 330, ..., 1050 nm
// (data/sedes-cloud-cover-tables.csv).
inline constexpr int kCloudCoverRows = 74;
extern const float cloudCover[6][kCloudCoverRows];

// SEDES3's spectrum: 111 points at 300, 310, ..., 1400 nm.
inline constexpr int kSpectrumPoints = 111;
// The factor on the scaled clear-sky spectrum at point k for the ratio kg of measured to
// modelled global irradiance and the cosine of the hour's mean zenith angle; below 320 nm
// the coefficients of 320 nm hold, above 1050 nm those of 1050 nm.
float cloudModifier(int point, float kg, float cosZenith);

// What the clear sky of an hour holds besides the sun's position.
struct ClearSkyAtmosphere {
    float earthSun;           // the inverse square of the sun's distance in mean distances
    float ozone;              // atm cm
    float water;              // precipitable water, cm
    float turbidity = 0.27f;  // aerosol optical depth at 0.5 um
    float angstrom = 1.14f;   // its wavelength exponent
    float albedo = 0.2f;      // of the ground
};

// One band of the table under one atmosphere: what does not depend on the sun's position
// (the aerosol's depth and albedo, the sky's reflectance) worked out once, then the
// irradiances (W/(m² um)) for a sun at a zenith of cosine mu and an air mass m.
struct ClearSkyPoint {
    float directNormal, diffuseHorizontal;
};
class ClearSkyBand {
public:
    ClearSkyBand(const SpectralRow& row, const ClearSkyAtmosphere& atmosphere);
    ClearSkyPoint at(float mu, float airMass) const;

private:
    SpectralRow row_;
    ClearSkyAtmosphere atmosphere_;
    float extraterrestrial_, singleScattering_, aerosolDepth_, skyReflectance_, diffuseCorrection_;
};

// The hour: the measurements and the site. The day is the day of the year, the hour the
// end of the hour in solar time.
struct SpectralHour {
    double global, diffuse;  // W/m² on the horizontal
    float dewPoint;          // degC
    int day, hour;
    float latitude;          // degrees north
    float longitude;         // degrees east
    double tilt;             // degrees, the surface facing the equator
};

// Why an hour has no spectrum: the sun below the horizon or behind the surface at one of
// its twelve instants, or a quantity outside the model's limits.
enum class SpectrumOutcome { computed, night, outsideLimits };

// The intermediate results of one hour, for those who look inside (the tests).
struct SpectrumWork {
    // Means over the twelve instants, per band: direct normal, direct on the surface,
    // direct horizontal, global horizontal (W/(m² um)).
    std::array<float, kSpectralRows> directNormal{}, directTilted{}, directHorizontal{}, globalHorizontal{};
    std::array<float, kSpectralRows> tilted{};  // the scaled spectrum on the surface
    double zenith = 0, airMass = 0, incidence = 0;  // the hour's means, degrees
    float water = 0, ozone = 0;
    float directIntegral = 0, globalIntegral = 0;  // W/m², trapezoids over the 122 bands
    double beamNormal = 0, tiltedDiffuse = 0, tiltedGlobal = 0;  // measured, and by Perez
    float kg = 0, kb = 0, kd = 0;                  // the scale factors
};

// The hour's spectrum on the tilted surface, W/(m² nm) at the 111 points; `spectrum` is
// written only when the outcome is `computed`.
SpectrumOutcome spectrumOfHour(const SpectralHour& hour, std::span<float, kSpectrumPoints> spectrum,
                               SpectrumWork& work);

}  // namespace vireo::em

#endif
