// SPCTRAL2 (Bird and Riordan 1986) on its 122 bands, and SEDES3's hour: the clear-sky
// spectrum averaged over the hour, scaled to the measured radiation, moved onto the
// tilted surface and corrected for cloud cover (Nann and Riordan 1991).
#include "spectral.h"

#include "atmosphere.h"
#include "sky.h"

#include <algorithm>
#include <cmath>

namespace vireo::em {
namespace {

// The aerosol's single-scattering albedo at 0.4 um, its change with wavelength and its
// asymmetry factor.
constexpr float kSingleScattering = 0.945f;
constexpr float kScatteringSpread = 0.095f;
constexpr float kAsymmetry = 0.65f;
// The ozone layer's height over the earth's radius, 22 over 6370 km.
constexpr float kOzoneHeight = 0.0034536892f;
// The air mass of the sky's reflectance.
constexpr float kReflectanceAirMass = 1.8f;
// Degrees to radians for the hour's mean angles: the double nearest the single-precision 0.0174533.
constexpr double kRadians = static_cast<double>(0.0174533f);

// The share of the aerosol's scattering that goes forward, at a zenith of cosine mu, from
// the coefficients of its asymmetry factor (Bird and Riordan's ALG, AFS, BFS).
struct ForwardScattering {
    float a, b;
    ForwardScattering() {
        const float g = std::log(1.0f - kAsymmetry);
        a = g * (1.459f + g * (0.1595f + 0.4129f * g));
        b = g * (0.0783f + g * (-0.3824f - 0.5874f * g));
    }
    float at(float mu) const { return 1.0f - 0.5f * std::exp((a + b * mu) * mu); }
};
const ForwardScattering kForward;

// The transmittances of Rayleigh scattering and of the mixed gases at an air mass, with
// the constants 1.3366 and 118.3 where the 1986 report prints 1.335 and 118.93.
float rayleigh(float lambda, float m) {
    return std::exp(-m / (lambda * lambda * lambda * lambda * (115.6406f - 1.3366f / (lambda * lambda))));
}
float mixedGas(float au, float m) { return std::exp(-1.41f * au * m / std::pow(1.0f + 118.3f * au * m, 0.45f)); }

// Van Heuklon's ozone column (atm cm) with one set of coefficients for all sites.
float ozoneColumn(int day, float latitude, float longitude) {
    constexpr float kDegree = 0.017453292f;
    const auto sind = [](float degrees) { return std::sin(degrees * kDegree); };
    const float seasonal = 40.0f * sind(0.9865f * (static_cast<float>(day) - 30.0f));
    const float zonal = 20.0f * sind(3.0f * (longitude >= 0.0f ? longitude + 20.0f : longitude));
    const float s = sind(1.28f * latitude);
    return 0.001f * (235.0f + (150.0f + seasonal + zonal) * s * s);
}

float earthSunFactor(int day) {
    const float g = 6.2831855f * (static_cast<float>(day) - 1.0f) / 365.0f;
    return 1.00011f + 0.034221f * std::cos(g) + 0.00128f * std::sin(g) + 0.000719f * std::cos(2.0f * g) +
           0.000077f * std::sin(2.0f * g);
}

// The integral of a function of wavelength over the table's bands, by trapezoids (W/m²).
float trapezoids(const std::array<float, kSpectralRows>& y) {
    float sum = 0.0f;
    for (int i = 1; i < kSpectralRows; ++i)
        sum += 0.5f * (y[i] + y[i - 1]) * (spectralTable[i].wavelength - spectralTable[i - 1].wavelength);
    return sum;
}

// The tilted spectrum at 300, 310, ..., 1400 nm, straight between the table's bands.
// (Adding up slopes nanometre by nanometre, from one band to the next, is the same in
// exact arithmetic only where every band lies on a whole nanometre; at 667.6, 724.4 nm
// and the other bands between whole nanometres it leaves offsets that add up towards the
// infrared.)
void resample(const std::array<float, kSpectralRows>& tilted, std::span<float, kSpectrumPoints> spectrum) {
    int j = 1;
    for (int k = 0; k < kSpectrumPoints; ++k) {
        const float lambda = static_cast<float>(300 + 10 * k) / 1000.0f;
        while (j < kSpectralRows - 1 && lambda > spectralTable[j].wavelength) ++j;
        const float l0 = spectralTable[j - 1].wavelength, l1 = spectralTable[j].wavelength;
        const float value = tilted[j - 1] + (lambda - l0) * (tilted[j] - tilted[j - 1]) / (l1 - l0);
        spectrum[k] = value / 1000.0f;  // W/(m² um) to W/(m² nm)
    }
}

}  // namespace

float waterAbsorption(float wavelength) {
    const float first = spectralTable[0].wavelength, last = spectralTable[kSpectralRows - 1].wavelength;
    const float lambda = wavelength > first ? (wavelength < last ? wavelength : last) : first;  // NaN: the first
    int i = 0;
    while (i < kSpectralRows - 2 && lambda > spectralTable[i + 1].wavelength) ++i;
    const SpectralRow& a = spectralTable[i];
    const SpectralRow& b = spectralTable[i + 1];
    if (lambda == b.wavelength) return b.water;  // a row's own value, not one rounded on the way
    return a.water + (lambda - a.wavelength) / (b.wavelength - a.wavelength) * (b.water - a.water);
}

float cloudModifier(int point, float kg, float cosZenith) {
    // Points 0 and 1 (300 and 310 nm) take 320 nm's coefficients, points from 76 on
    // (1060 nm and up) 1050 nm's.
    const int row = std::clamp(point - 2, 0, kCloudCoverRows - 1);
    const auto c = [row](int table) { return cloudCover[table][row]; };
    const float kg2 = kg * kg;
    return c(0) + c(1) / cosZenith + kg * c(2) + kg * c(3) / cosZenith + c(4) * kg2 + c(5) * kg2 / cosZenith;
}

ClearSkyBand::ClearSkyBand(const SpectralRow& row, const ClearSkyAtmosphere& atmosphere)
    : row_(row), atmosphere_(atmosphere) {
    const float lambda = row.wavelength;
    extraterrestrial_ = atmosphere.earthSun * row.extraterrestrial;
    const float spread = std::log(lambda / 0.4f);
    singleScattering_ = kSingleScattering * std::exp(-kScatteringSpread * spread * spread);
    aerosolDepth_ = atmosphere.turbidity * std::pow(lambda / 0.5f, -atmosphere.angstrom);
    // The sky's reflectance, from the transmittances at an air mass of 1.8.
    const float m = kReflectanceAirMass;
    const float tr = rayleigh(lambda, m);
    const float tw = waterVapourTransmittance(row.water, atmosphere.water * m);
    const float tu = mixedGas(row.mixedGas, m);
    const float tas = std::exp(-m * singleScattering_ * aerosolDepth_);
    const float taa = std::exp(-m * (1.0f - singleScattering_) * aerosolDepth_);
    const float fsp = kForward.at(1.0f / m);
    skyReflectance_ = tu * tw * taa * (0.5f * (1.0f - tr) + (1.0f - fsp) * tr * (1.0f - tas));
    diffuseCorrection_ = lambda <= 0.45f ? std::pow(lambda + 0.55f, 1.8f) : 1.0f;
}

ClearSkyPoint ClearSkyBand::at(float mu, float m) const {
    const float lambda = row_.wavelength;
    const float ozoneMass = (1.0f + kOzoneHeight) / std::sqrt(mu * mu + 2.0f * kOzoneHeight);
    const float tr = rayleigh(lambda, m);
    const float to = std::exp(-row_.ozone * atmosphere_.ozone * ozoneMass);
    const float tw = waterVapourTransmittance(row_.water, atmosphere_.water * m);
    const float tu = mixedGas(row_.mixedGas, m);
    const float tas = std::exp(-singleScattering_ * aerosolDepth_ * m);
    const float taa = std::exp(-(1.0f - singleScattering_) * aerosolDepth_ * m);
    const float ta = std::exp(-aerosolDepth_ * m);

    const float direct = extraterrestrial_ * tr * to * tw * tu * ta;
    const float absorbed = extraterrestrial_ * mu * to * tw * tu * taa;
    const float rayleighDiffuse = 0.5f * absorbed * (1.0f - std::pow(tr, 0.95f));
    const float aerosolDiffuse = absorbed * std::pow(tr, 1.5f) * (1.0f - tas) * kForward.at(mu);
    const float rs = atmosphere_.albedo * skyReflectance_;
    const float groundDiffuse = (direct * mu + rayleighDiffuse + aerosolDiffuse) * rs / (1.0f - rs);
    return {direct, diffuseCorrection_ * (rayleighDiffuse + aerosolDiffuse + groundDiffuse)};
}

SpectrumOutcome spectrumOfHour(const SpectralHour& hour, std::span<float, kSpectrumPoints> spectrum,
                               SpectrumWork& work) {
    work = SpectrumWork{};
    const double g = hour.global, d = hour.diffuse;
    work.water = precipitableWater(2, hour.dewPoint);
    // What the measurements and the dew point alone refuse needs no spectrum.
    if (!(g > 10.0 && d > 10.0) || !(work.water >= 0.1f && work.water <= 10.0f)) return SpectrumOutcome::outsideLimits;

    const HourGeometry sun = hourGeometry(hour.latitude, static_cast<float>(hour.tilt), hour.day, hour.hour, 0);
    for (int i = 0; i < kHourInstants; ++i)
        if (!(sun.zenith[i] < 90.0f && sun.incidence[i] <= 90.0f)) return SpectrumOutcome::night;

    ClearSkyAtmosphere atmosphere{.earthSun = earthSunFactor(hour.day),
                                  .ozone = ozoneColumn(hour.day, hour.latitude, hour.longitude),
                                  .water = work.water};
    work.ozone = atmosphere.ozone;
    float mu[kHourInstants], cosIncidence[kHourInstants];
    for (int i = 0; i < kHourInstants; ++i) {
        mu[i] = static_cast<float>(std::cos(sun.zenith[i] * kRadians));
        cosIncidence[i] = static_cast<float>(std::cos(sun.incidence[i] * kRadians));
        work.zenith += sun.zenith[i];
        work.airMass += sun.airMass[i];
        work.incidence += sun.incidence[i];
    }
    work.zenith /= kHourInstants;
    work.airMass /= kHourInstants;
    work.incidence /= kHourInstants;

    std::array<float, kSpectralRows> diffuseHorizontal{};
    for (int w = 0; w < kSpectralRows; ++w) {
        const ClearSkyBand band(spectralTable[w], atmosphere);
        float dn = 0, dt = 0, dh = 0, df = 0;
        for (int i = 0; i < kHourInstants; ++i) {
            const ClearSkyPoint p = band.at(mu[i], sun.airMass[i]);
            dn += p.directNormal;
            dt += p.directNormal * cosIncidence[i];
            dh += p.directNormal * mu[i];
            df += p.diffuseHorizontal;
        }
        work.directNormal[w] = dn / kHourInstants;
        work.directTilted[w] = dt / kHourInstants;
        work.directHorizontal[w] = dh / kHourInstants;
        diffuseHorizontal[w] = df / kHourInstants;
        work.globalHorizontal[w] = diffuseHorizontal[w] + work.directHorizontal[w];
    }
    work.directIntegral = trapezoids(work.directNormal);
    work.globalIntegral = trapezoids(work.globalHorizontal);

    // The measurements on the tilted surface by Perez, with the beam from global and diffuse.
    const double cosZenith = std::cos(work.zenith * kRadians);
    work.beamNormal = (g - d) / cosZenith;
    const PerezIrradiance perez = perezTilted(g, work.beamNormal, d, work.zenith, work.incidence, hour.tilt);
    work.tiltedDiffuse = perez.diffuse;
    work.tiltedGlobal = perez.total;
    work.kg = static_cast<float>(g / work.globalIntegral);
    work.kb = static_cast<float>(work.beamNormal / work.directIntegral);
    work.kd = static_cast<float>(perez.diffuse / d);
    for (int w = 0; w < kSpectralRows; ++w)
        work.tilted[w] = work.kb * work.directTilted[w] +
                         (work.kg * work.globalHorizontal[w] - work.kb * work.directHorizontal[w]) * work.kd;

    std::array<float, kSpectrumPoints> s{};
    resample(work.tilted, s);
    const float mean = static_cast<float>(cosZenith);
    for (int k = 0; k < kSpectrumPoints; ++k) s[k] *= cloudModifier(k, work.kg, mean);

    // The model's limits. Written so that NaN fails them.
    float inside = 0.0f;  // W/m² on the surface between 300 and 1400 nm
    for (int k = 0; k + 1 < kSpectrumPoints; ++k) inside += (s[k] + s[k + 1]) * 5.0f;
    const double outside = 1.0 - inside / perez.total;
    const bool within = perez.total > 10.0 && work.zenith < 89.0 && work.airMass >= 1.0 && work.airMass <= 14.0 &&
                        work.incidence < 89.0 && outside > 0.0 && work.kg < 1.5f && work.kb < 2.0f &&
                        work.kd < 2.0f;
    if (!within) return SpectrumOutcome::outsideLimits;
    std::copy(s.begin(), s.end(), spectrum.begin());
    return SpectrumOutcome::computed;
}

}  // namespace vireo::em
