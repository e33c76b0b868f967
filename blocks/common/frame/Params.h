// A block's parameters, declared once: each one's name and unit as its reference page
// shows them, the bound its value must keep and the code it is refused with, and, for a
// parameter the model may leave out, the value that stands in for it. The frame derives
// everything else from this table: the check at initialisation, the same check again
// before a step whose parameters the editor changed during the run, the typed reads.
//
//   struct hxs_block {
//       struct P {
//           enum : int { arrangement, ua, cpHot, cpCold };
//           static constexpr block::Param table[] = {
//               {"Flow arrangement", "-", block::mode(3), code::badMode},
//               {"Heat-transfer coefficient times area UA", "W/K", block::above(0), code::badTransferCapacity},
//               ...};
//       };
//       using View = block::View<table::st0015, P>;
//       static void init(View& b);   // runs after the frame has checked every rule
//       static void step(View& b);   // never runs while a rule is broken
//   };
//   ... b.par<P::ua>() ... b.whole<P::arrangement>() ...
//
// The names are those that open the block's //#BP lines and the units those in their
// parentheses; a test holds the two against each other.
#ifndef VIREO_BLOCK_PARAMS_H
#define VIREO_BLOCK_PARAMS_H

#include "Messages.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <limits>
#include <span>

namespace vireo::block {

// The interval a value must lie in, as its nearest whole number (halves away from zero)
// when `whole`; aboveLow and belowHigh leave out the bound itself. NaN never lies in one.
// `none` marks a parameter without a rule: every value passes, NaN included.
struct Bound {
    float low = -std::numeric_limits<float>::infinity();
    float high = std::numeric_limits<float>::infinity();
    bool whole = false;
    bool aboveLow = false;
    bool belowHigh = false;
    bool none = false;

    constexpr bool holds(float x) const {
        if (none) return true;
        const float v = whole ? roundAway(x) : x;
        return v >= low && v <= high && !(aboveLow && v == low) && !(belowHigh && v == high);
    }

private:
    // std::round, usable where the table is checked at compile time.
    static constexpr float roundAway(float x) {
        if (!(x == x) || x >= 8388608.0f || x <= -8388608.0f) return x;  // NaN, infinities, already whole
        const float t = static_cast<float>(static_cast<long>(x));
        const float r = x - t;
        return r >= 0.5f ? t + 1.0f : (r <= -0.5f ? t - 1.0f : t);
    }
};

// The rule vocabulary. "above" and "at least" keep the value finite as well (their upper
// end is the largest float), so an infinity written as 1e39 is refused too.
constexpr Bound any() { return {.none = true}; }
constexpr Bound finite() { return {.low = -FLT_MAX, .high = FLT_MAX}; }
constexpr Bound above(float low) { return {.low = low, .high = FLT_MAX, .aboveLow = true}; }
constexpr Bound atLeast(float low) { return {.low = low, .high = FLT_MAX}; }
constexpr Bound within(float low, float high) { return {.low = low, .high = high}; }
constexpr Bound whole(float low, float high) { return {.low = low, .high = high, .whole = true}; }
// A choice among `count` forms, counted from 0.
constexpr Bound mode(int count) { return whole(0.0f, static_cast<float>(count - 1)); }

// What stands in for a parameter the model may leave out (the engine passes it as 0): the
// value `fallback` whenever the parameter's own value is 0, or, with `used`, whenever
// its value lies outside that bound.
struct Optional {
    bool optional = false;
    float fallback = 0.0f;
    Bound used = any();

    constexpr float read(float x) const {
        if (!optional) return x;
        if (used.none) return x != 0.0f ? x : fallback;
        return used.holds(x) ? x : fallback;
    }
};
constexpr Optional orDefault(float fallback) { return {true, fallback}; }
constexpr Optional orDefault(float fallback, Bound used) { return {true, fallback, used}; }

// One parameter of a block, at its position in the model's order.
struct Param {
    const char* name;  // as its //#BP line opens
    const char* unit;  // as in that line's parentheses
    Bound bound = any();
    Code code{};       // the counted error a value outside the bound is reported with
    Optional absent{};
};

// The parameters' state between calls, in the protocol's parameter slot: the engine marks
// a change, the frame keeps what it refused.
namespace parameterState {
inline constexpr int kChanged = protocol::parameterState::kChanged;
inline constexpr int kRefusedByChange = 2;  // a changed value broke a rule; cleared when a later change mends it
inline constexpr int kRefusedAtInit = 4;    // initialisation left an error: the block never steps
}  // namespace parameterState

// A block type's parameter table, or none: `Routine::P::table`, looked for on a wrapper's
// wrapped block as well.
template <class Routine>
struct ParamsOf {
    using type = void;
};
template <class Routine>
    requires requires { Routine::P::table; }
struct ParamsOf<Routine> {
    using type = typename Routine::P;
};
template <class Routine>
    requires(!requires { Routine::P::table; }) && requires { Routine::Wrapped::P::table; }
struct ParamsOf<Routine> {
    using type = typename Routine::Wrapped::P;
};

template <class P>
constexpr std::size_t paramCount() {
    return std::size(P::table);
}

// A block whose names give its parameters other meanings (a tube's diameter is a
// channel's width) lists one table per name, in the identity's order, as
//   static constexpr std::span<const block::Param> forms[] = {tube, channel};
// with `table` the main name's. The frame checks the table of the name the model placed
// the block under (the main name's for an opMode outside the list, as BlockView::name).
template <class P>
constexpr std::span<const Param> formParams(int opMode) {
    if constexpr (requires { P::forms; })
        if (opMode >= 2 && static_cast<std::size_t>(opMode) <= std::size(P::forms)) return P::forms[opMode - 1];
    return P::table;
}

// A table whose every rule can report: a bound needs a code, a whole bound whole ends.
constexpr bool wellFormedTable(std::span<const Param> table) {
    for (const Param& p : table) {
        if (p.name == nullptr || p.unit == nullptr || p.name[0] == '\0' || p.unit[0] == '\0') return false;
        if (!p.bound.none && p.code.number == 0) return false;
        if (!(p.bound.low <= p.bound.high)) return false;
    }
    return true;
}
// The same for every form; and the forms, as the typed reads go by `table`, read alike:
// the first is `table`, each has its rows and leaves the same parameters out for the same
// defaults.
template <class P>
constexpr bool wellFormedParams() {
    if (!wellFormedTable(P::table)) return false;
    if constexpr (requires { P::forms; }) {
        if (P::forms[0].data() != P::table) return false;
        for (std::span<const Param> form : P::forms) {
            if (!wellFormedTable(form) || form.size() != paramCount<P>()) return false;
            for (std::size_t i = 0; i < form.size(); ++i)
                if (form[i].absent.optional != P::table[i].absent.optional ||
                    form[i].absent.fallback != P::table[i].absent.fallback)
                    return false;
        }
    }
    return true;
}

}  // namespace vireo::block

#endif
