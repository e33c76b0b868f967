//#Block SEDES3
//#Description
// Spectral irradiance on a tilted surface facing the equator, 0.3 to 1.4 $\mu$m, for an
// hour of measured global and diffuse irradiance on the horizontal: the clear-sky spectrum
// of Bird and Riordan (SPCTRAL2, 1986) averaged over twelve instants of the hour, scaled to
// the measurements and, by the Perez model (1990), to the tilted surface, and corrected for
// cloud cover (Nann and Riordan 1991). The site's longitude and time zone count positive
// east of Greenwich.
//#Layout
//#Inputs 6
//#Outputs 1
//#Parameters 5
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Wavelength ($\mu$m)
//#IN[1] Global irradiance on the horizontal, mean of the hour (W/m$^2$)
//#IN[2] Diffuse irradiance on the horizontal, mean of the hour (W/m$^2$)
//#IN[3] Dew point ($^\circ$C)
//#IN[4] Day of the year, its whole part (-)
//#IN[5] Hour of the day in solar time at the end of the hour, rounded (h)
//#Outputs
//#OUT[0] Spectral irradiance on the tilted surface at the wavelength, not below 0; 0
// outside 0.295 to 1.405 $\mu$m and for an hour without spectrum (W/(m$^2$ $\mu$m))
//#Parameters
//#BP[0] Latitude, north positive, -90 to 90 (degrees)
//#BP[1] Longitude, east of Greenwich positive, -360 to 360 (degrees)
//#BP[2] Time zone, hours east of Greenwich (h)
//#BP[3] Elevation of the site; accepted, without effect (m)
//#BP[4] Tilt of the surface, 0 to 180 (degrees)
//#Strings
//#None
//#Remarks
// The spectrum is computed once for each new set of inputs 2 to 6, at 300, 310, ...,
// 1400 nm, and kept; a step with the same hourly inputs only looks up the point nearest
// to its wavelength, so that a model may sweep the wavelength within an hour. The
// clear sky has an aerosol optical depth of 0.27 at 0.5 $\mu$m (Angstrom exponent 1.14),
// a ground albedo of 0.2, the precipitable water $w = e^{0.0693 T_d - 0.0756}$ cm and the
// ozone column of Van Heuklon; the beam normal irradiance is (G - D)/cos of the hour's mean
// zenith angle. The twelve instants lie 60, 55, ..., 5 minutes before the hour given. An
// hour has no spectrum, and the output is 0 at every step of it, when the sun is at or
// below the horizon or behind the surface at one of its instants, or when the model's
// limits are passed: G, D or the irradiance on the tilted surface not above 10 W/m$^2$; the
// mean zenith or incidence angle 89 degrees or more; the mean air mass outside 1 to 14; w
// outside 0.1 to 10 cm; no irradiance left outside 300 to 1400 nm; the measured global
// irradiance 1.5 times the clear sky's or more, the beam twice or more; the diffuse
// irradiance on the surface twice the horizontal one or more. A diffuse irradiance above
// the global is a fault of the measurements: the hour has no spectrum, with a warning at
// its first step. The site is checked as for SUNAE2.
//#end
#include "blocks.h"

#include "Numbers.h"
#include "site.h"
#include "spectral.h"

#include <algorithm>
#include <bit>

namespace vireo::em {
namespace {

using P = sedes3_block::P;

// RP[0..110]: the spectrum, W/(m² nm), of the hourly inputs in RP[111..115] (all 0 for an
// hour without one); IP[10]: 1 while the two belong together.
struct State {
    std::span<float, kSpectrumPoints> spectrum;
    std::span<float, 5> hourly;
    int& current;
    explicit State(sedes3_block::View& b)
        : spectrum(b.rp<0, kSpectrumPoints>()), hourly(b.rp<kSpectrumPoints, 5>()), current(b.ip<10>()) {}
};


// Compared by their bits, so that an hour of inputs that are not numbers is computed once.
bool same(std::span<const float, 5> kept, const float (&now)[5]) {
    return std::equal(kept.begin(), kept.end(), now,
                      [](float a, float b) { return std::bit_cast<int>(a) == std::bit_cast<int>(b); });
}

}  // namespace

bool sedes3_block::checksHold(View& b) {
    return checkSite(b.reporter(), {b.par<P::latitude>(), -b.par<P::longitude>(), westTimeZone(b.par<P::timeZone>())});
}

void sedes3_block::init(View& b) { State(b).current = 0; }

void sedes3_block::step(View& b) {
    State s(b);
    const float hourly[5] = {b.in(1), b.in(2), b.in(3), b.in(4), b.in(5)};
    if (s.current != 1 || !same(s.hourly, hourly)) {
        std::copy(hourly, hourly + 5, s.hourly.begin());
        s.current = 1;
        const SpectralHour hour{.global = hourly[0],
                                .diffuse = hourly[1],
                                .dewPoint = hourly[2],
                                .day = block::toInt(hourly[3]),
                                .hour = block::nearestInt(hourly[4]),
                                .latitude = b.par<P::latitude>(),
                                .longitude = b.par<P::longitude>(),
                                .tilt = b.par<P::tilt>()};
        SpectrumWork work;
        // More diffuse than global irradiance would make the beam negative: no sky gives
        // it, so the measurements are at fault and the hour has no spectrum.
        const bool beamBelowZero = hour.diffuse > hour.global;
        if (beamBelowZero) b.report(code::sedesDiffuseAboveGlobal, {.reals = {hourly[0], hourly[1]}});
        if (beamBelowZero || spectrumOfHour(hour, s.spectrum, work) != SpectrumOutcome::computed)
            std::fill(s.spectrum.begin(), s.spectrum.end(), 0.0f);
    }
    // The point nearest to the wavelength, from 0.3 um in steps of 0.01 um; beyond half a
    // step outside the range, none.
    const float lambda = b.in(0);
    b.out(0) = 0.0f;
    if (!(lambda > 0.295f && lambda < 1.405f)) return;
    const int k = std::clamp(block::nearestInt((lambda - 0.3f) * 100.0f), 0, kSpectrumPoints - 1);
    b.out(0) = std::max(0.0f, 1000.0f * s.spectrum[k]);
}

}  // namespace vireo::em
