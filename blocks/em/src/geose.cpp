// The sun over an hour: twelve instants five minutes apart, from the Fourier series of the
// declination. Single precision.
#include "sky.h"

#include "Numbers.h"
#include "atmosphere.h"

#include <cmath>

namespace vireo::em {

HourGeometry hourGeometry(float latitude, float tilt, int day, int hour, int minute) {
    constexpr float kRadians = 0.0174533f;
    const float g = 6.283185f * static_cast<float>(static_cast<double>(day) - 1.0) / 365.0f;
    const float declination = 0.006918f - 0.399912f * std::cos(g) + 0.070257f * std::sin(g) -
                              0.006758f * std::cos(2.0f * g) + 0.000907f * std::sin(2.0f * g) -
                              0.002697f * std::cos(3.0f * g) + 0.00148f * std::sin(3.0f * g);
    const float sd = std::sin(declination), cd = std::cos(declination);
    const float phi = latitude * kRadians;
    const float sp = std::sin(phi), cp = std::cos(phi);
    // The surface faces the equator: south in the northern hemisphere, north in the southern.
    const float beta = (latitude >= 0.0f ? tilt : -tilt) * kRadians;
    const float sb = std::sin(beta), cb = std::cos(beta);

    HourGeometry h{};
    // Minutes of the day at the first instant, an hour before the time; whole days fall
    // away before the hour angle is formed, so that no time loses its precision.
    const double first = std::fmod(60.0 * hour + minute - 60.0, 1440.0);
    for (int i = 0; i < kHourInstants; ++i) {
        const float omega = static_cast<float>((720.0 - (first + 5.0 * i)) / 4.0) * kRadians;
        const float co = std::cos(omega);
        const float cosZenith = co * cd * cp + sd * sp;
        h.zenith[i] = block::acosClamped(cosZenith) / kRadians;
        if (!(h.zenith[i] < 90.0f)) {
            h.incidence[i] = 90.0f;
            h.airMass[i] = 0.0f;
            continue;
        }
        const float cosIncidence = sd * (sp * cb - cp * sb) + cd * co * (cp * cb + sp * sb);
        h.incidence[i] = std::fabs(block::acosClamped(cosIncidence)) / kRadians;
        h.airMass[i] = kastenYoungAirMass(h.zenith[i], cosZenith, 0.0f);
    }
    return h;
}

}  // namespace vireo::em
