// The two block functions of the frame-cost benchmark, and the framed block's routine,
// whose step is compiled apart from its dispatch as in every block library.
#ifndef VIREO_BENCH_FRAME_COST_H
#define VIREO_BENCH_FRAME_COST_H

#include "BlockView.h"

extern "C" int bench_frame_cosine(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP, char (*SP)[1024]);
extern "C" int bench_bare_cosine(float* IN, float* OUT, int* IP, float* RP, double* DP, float* BP, char (*SP)[1024]);

namespace vireo::bench {

inline constexpr block::BlockIdentity kCosine{"bench1", "COSINE", 1, 1, 1, 1, 10, 0, 0, 1, 1, 0, 0,
                                              block::Group::standard};

struct cosine_block {
    // One parameter with a rule and a tie, so that the frame's care for parameters is in
    // the figure.
    struct P {
        enum : int { gain };
        static constexpr block::Param table[] = {{"Gain", "-", block::finite(), {305000, block::kRuleFills}}};
    };
    using View = block::View<kCosine, P>;
    static bool tiesHold(View& b) { return b.par<P::gain>() != 0.0f; }
    static void step(View& b);
};

}  // namespace vireo::bench

#endif
