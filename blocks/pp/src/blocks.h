// The block routines of libVireoPP: physics only, over a typed view of the block arrays.
// The identity table (table.h) names each of them; the frame does identification and
// dispatch. A block keeps state between calls only in its own arrays: what a call works
// with beyond them lives in the call, so two instances never share a value.
#ifndef VIREO_PP_BLOCKS_H
#define VIREO_PP_BLOCKS_H

#include "BlockFrame.h"
#include "messages.h"
#include "table.h"

#include <initializer_list>
#include <limits>

namespace vireo::pp {

using block::BlockView;
using block::IdentifyOnly;
using block::Rule;

struct track_block {  // TRACK
    using View = block::View<table::pp0001>;
    static void step(View& b);
};
struct trough_block {  // TROUGH
    using View = block::View<table::pp0002>;
    static void init(View& b);
    static void step(View& b);
};
struct receiv_block {  // RECEIV
    using View = block::View<table::pp0003>;
    static void init(View& b);
    static void step(View& b);
};
struct shade_block {  // SHADE
    using View = block::View<table::pp0004>;
    static void step(View& b);
};
struct pipe_block {  // PIPE
    using View = block::View<table::pp0005>;
    static void init(View& b);
    static void step(View& b);
};
struct fldiv_block {  // FLDIV
    using View = block::View<table::pp0006>;
    static void step(View& b);
};
struct tpiece_block {  // TPIECE
    using View = block::View<table::pp0007>;
    static void step(View& b);
};
struct tcstor_block {  // TCSTOR
    using View = block::View<table::pp0008>;
    static void init(View& b);
    static void step(View& b);
};
struct pfstor_block {  // PFSTOR
    using View = block::View<table::pp0009>;
    static void init(View& b);
    static void step(View& b);
};
struct cntrl_block {  // CNTRL
    using View = block::View<table::pp0010>;
    static void init(View& b);
    static void step(View& b);
};
struct tf2tc_block {  // TF2TC
    using View = block::View<table::pp0011>;
    static void step(View& b);
};
struct tc2tf_block {  // TC2TF
    using View = block::View<table::pp0012>;
    static void step(View& b);
};
struct steam_block {  // STEAM
    using View = block::View<table::pp0013>;
    static void step(View& b);
};
struct evaph_block {  // EVAPH
    using View = block::View<table::pp0014>;
    static void step(View& b);
};
struct hxch_block {  // HXCH
    using View = block::View<table::pp0015>;
    static void init(View& b);
    static void step(View& b);
    static void last(View& b);
};
struct sturb_block {  // STURB
    using View = block::View<table::pp0016>;
    static void init(View& b);
    static void step(View& b);
};
struct pcsstu_block {  // PCSSTU
    using View = block::View<table::pp0018>;
    static void step(View& b);
};
struct pcntrl_block {  // PCNTRL
    using View = block::View<table::pp0017>;
    static void init(View& b);
    static void step(View& b);
};

// ---- what several blocks share -------------------------------------------------------

inline constexpr float kLargest = std::numeric_limits<float>::max();

// Parameters the blocks divide by: above 0 and finite.
constexpr Rule positive(int parameter, block::Code code) {
    return {.parameter = parameter, .low = 0.0f, .high = kLargest, .code = code, .aboveLow = true};
}
// Coefficients that move a temperature towards its surroundings: a negative one would
// push it away, without bound over the steps of a run.
constexpr Rule notNegative(int parameter) {
    return {.parameter = parameter, .low = 0.0f, .high = kLargest, .code = code::badLossCoefficient};
}
// Iterations per step: each costs a pass over the block's state, so a count from a
// mistyped parameter would keep the run from ever ending.
inline constexpr float kMostIterations = 1000.0f;
constexpr Rule iterations(int parameter) {
    return {.parameter = parameter, .low = 0.0f, .high = kMostIterations, .code = code::badIterations};
}

// One term of an explicit temperature update T' = T + sum of weight * (toward - T).
struct Pull {
    float weight;
    float toward;
};

// Whether the update's weights add up to at most 1, so that T' stays between T and the
// temperatures it moves towards. The blocks compute their own formulas when this holds
// and the limited update below only when it does not: a time step, a flow or a loss too
// large for an explicit step would otherwise overshoot and grow without bound.
inline bool withinOneStep(std::initializer_list<Pull> pulls) {
    float sum = 0.0f;
    for (const Pull& p : pulls) sum += p.weight;
    return sum <= 1.0f;
}

// The update whose step would overshoot, taken as far as it can go: the mean of the
// temperatures pulled towards, weighted by the pulls (infinite pulls share alike).
float limitedUpdate(float t, std::initializer_list<Pull> pulls);

// A time step the blocks integrate over: a model time that runs backwards gives none,
// and two times at the ends of the float range give the largest.
inline float forwardOnly(float ts) { return ts > 0.0f ? (ts < kLargest ? ts : kLargest) : 0.0f; }

// Writes a default into the block's own parameter, where the block fills one in place.
inline void fillParameter(BlockView& b, int i, float value) {
    if (b.arrays().BP != nullptr && i >= 0 && i < b.identity().maxParameters) b.arrays().BP[i] = value;
}

}  // namespace vireo::pp

#endif
