// Two blocks whose physics is one cosine: one on the block frame as every library builds
// its blocks (the step in a source of its own, the dispatch made from the table), one
// written bare over the seven arrays. The benchmark calls both through a block-function
// pointer, as the engine does, so what it measures apart from the cosine is the frame.
#include "frame_cost.h"

#include "BlockFrame.h"

#include <cmath>

VIREO_BLOCK(bench_frame_cosine, vireo::bench::kCosine, vireo::bench::cosine_block)

extern "C" int bench_bare_cosine(float* IN, float* OUT, int*, float*, double*, float* BP, char (*)[1024]) {
    OUT[0] = BP[0] * std::cos(IN[0]);
    return 0;
}
