// The framed cosine block's physics, compiled apart from its dispatch.
#include "frame_cost.h"

#include <cmath>

namespace vireo::bench {

void cosine_block::step(View& b) { b.out(0) = b.par<P::gain>() * std::cos(b.in(0)); }

}  // namespace vireo::bench
