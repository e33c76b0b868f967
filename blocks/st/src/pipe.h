// What the two pipes with heat loss share: their first four parameters (the loss
// coefficient per metre, a surcharge on it in percent, the fluid's heat capacity and the
// length), declared once for both tables, and the loss coefficient they make.
#ifndef VIREO_ST_PIPE_H
#define VIREO_ST_PIPE_H

#include "Params.h"
#include "messages.h"

namespace vireo::st::pipe {

// The rows both tables open with, in this order.
enum : int { lossCoefficient, surcharge, heatCapacity, length, kCommonCount };
inline constexpr block::Param kCommon[] = {
    {"Heat-loss coefficient per metre of pipe", "W/(m K)", block::atLeast(0), code::badLossCoefficient},
    // Below -100 % the pipe would gain heat from a colder ambient.
    {"Additional heat loss in percent of the coefficient", "\\%", block::atLeast(-100), code::badLossSurcharge},
    {"Specific heat capacity of the fluid", "J/(kg K)", block::above(0), code::badHeatCapacity},
    {"Length of the pipe", "m", block::above(0), code::badPipeLength},
};

struct Common {
    double loss;          // W/(m K), surcharge included
    double heatCapacity;  // J/(kg K)
    double length;        // m
};
template <class View>
Common commonOf(const View& b) {
    const double u = b.template par<lossCoefficient>(), share = b.template par<surcharge>();
    return {u + u * share / 100.0, b.template par<heatCapacity>(), b.template par<length>()};
}

}  // namespace vireo::st::pipe

#endif
