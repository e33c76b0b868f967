// Two liquid streams mixed adiabatically, as the mixer and the three-way valve put them
// together.
#ifndef VIREO_ST_MIXING_H
#define VIREO_ST_MIXING_H

#include <cmath>
#include <optional>

namespace vireo::st {

struct Stream {
    double flow;  // 0 or more
    double temperature;
};

// The flow-weighted mean temperature. Only a stream that flows counts, so the temperature
// of one that stands still may be anything; none without flow or when a flowing stream's
// temperature is not a number.
inline std::optional<double> mixedTemperature(Stream a, Stream b) {
    if (!(a.flow > 0.0)) a = {0.0, 0.0};
    if (!(b.flow > 0.0)) b = {0.0, 0.0};
    const double flow = a.flow + b.flow;
    if (!(flow > 0.0)) return std::nullopt;
    const double t = (a.flow * a.temperature + b.flow * b.temperature) / flow;
    if (!std::isfinite(t)) return std::nullopt;
    return t;
}

}  // namespace vireo::st

#endif
