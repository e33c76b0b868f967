// The parameter tables of the user blocks that have parameters, in one place, so that the
// reference pages can be held against them.
#ifndef VIREO_UB_PARAMS_H
#define VIREO_UB_PARAMS_H

#include "Params.h"
#include "messages.h"
#include "table.h"

#include <limits>

namespace ub::params {

using vireo::block::Param;
namespace rule = vireo::block;

// Tolerances may be infinite: the loop then ends at its first chance.
constexpr vireo::block::Bound kTolerance = rule::within(0.0f, std::numeric_limits<float>::infinity());

struct Calendar {
    enum : int { year, month, day, hour, steps, length };
    static constexpr Param table[] = {
        {"Start year", "-", rule::whole(1.0f, 9999.0f), code::badYear},
        {"Start month", "-", rule::whole(1.0f, 12.0f), code::badMonth},
        {"Start day of the month", "-", rule::whole(1.0f, 31.0f), code::badDay},
        {"Start hour", "h", {.low = 0.0f, .high = 24.0f, .belowHigh = true}, code::badHour},
        {"Number of steps", "-", rule::whole(1.0f, 2147483647.0f), code::badStepCount},
        {"Step length", "h", rule::above(0.0f), code::badStepLength},
    };
};

struct CsvIn {
    enum : int { endRule };
    static constexpr Param table[] = {
        {"What happens after the last row", "-", rule::mode(3), code::badEndRule, rule::orDefault(0.0f)}};
};

struct LoopTop {
    enum : int { start };
    static constexpr Param table[] = {
        {"Start value with one input", "unit of input 1", rule::any(), {}, rule::orDefault(0.0f)}};
};

struct LoopController {
    enum : int { tolerance, maximum };
    static constexpr Param table[] = {
        {"Tolerance", "unit of the input", kTolerance, code::badTolerance},
        {"Maximum number of passes", "-", rule::whole(1.0f, 2147483647.0f), code::badMaximum},
    };
};

struct Iterate {
    enum : int { start, tolerance, maximum };
    static constexpr Param table[] = {
        {"Start estimate", "unit of the input", rule::any()},
        {"Tolerance", "unit of the input", kTolerance, code::badTolerance},
        {"Maximum number of repetitions", "-", rule::whole(1.0f, 2147483647.0f), code::badMaximum},
    };
};

// Up to twenty values, each given as it stands.
struct Constant {
    enum : int { values };
    static constexpr Param table[] = {rule::ranged(kConstantOutputs, {"The values to give", "any unit"})};
};

struct Delay {
    enum : int { before };
    static constexpr Param table[] = {
        {"Value before the first step", "unit of the input", rule::any(), {}, rule::orDefault(0.0f)}};
};

// Each identity with its table, for whoever holds the pages against them.
#define VIREO_UB_PARAM_TABLES(X) \
    X(kCalendar, Calendar)       \
    X(kCsvIn, CsvIn)             \
    X(kLoopTop, LoopTop)         \
    X(kLoopController, LoopController) \
    X(kIterate, Iterate)         \
    X(kDelay, Delay)             \
    X(kConstant, Constant)

}  // namespace ub::params

#endif
