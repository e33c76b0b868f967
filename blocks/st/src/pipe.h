// What the two pipes with heat loss share: their first four parameters (the loss
// coefficient per metre, a surcharge on it in percent, the fluid's heat capacity and the
// length) with the checks they get at initialisation, and the loss coefficient they make.
#ifndef VIREO_ST_PIPE_H
#define VIREO_ST_PIPE_H

#include "BlockView.h"
#include "messages.h"

#include <cfloat>
#include <cmath>
#include <optional>

namespace vireo::st::pipe {

constexpr block::Rule kCommonRules[] = {
    {.parameter = 0, .low = 0, .high = FLT_MAX, .code = code::badLossCoefficient},
    // Below -100 % the pipe would gain heat from a colder ambient.
    {.parameter = 1, .low = -100, .high = FLT_MAX, .code = code::badLossSurcharge},
    {.parameter = 2, .low = 0, .high = FLT_MAX, .code = code::badHeatCapacity, .aboveLow = true},
    {.parameter = 3, .low = 0, .high = FLT_MAX, .code = code::badPipeLength, .aboveLow = true},
};

struct Common {
    double loss;          // W/(m K), surcharge included
    double heatCapacity;  // J/(kg K)
    double length;        // m
};
// None when the parameters would not pass the checks (changed during a run, which is not
// checked again).
inline std::optional<Common> commonOf(const block::BlockView& b) {
    const double u = b.par(0), surcharge = b.par(1), cp = b.par(2), length = b.par(3);
    const double loss = u + u * surcharge / 100.0;
    if (!(u >= 0.0 && surcharge >= -100.0 && cp > 0.0 && length > 0.0) || !std::isfinite(loss) ||
        !std::isfinite(cp) || !std::isfinite(length))
        return std::nullopt;
    return Common{loss, cp, length};
}

}  // namespace vireo::st::pipe

#endif
