// What the three diffuse-fraction blocks share: the model number and the inputs that the
// model reads, checked as the blocks' tie with the wiring, and the step around a block's
// correlation.
#ifndef VIREO_EM_DIFFUSE_FRACTION_H
#define VIREO_EM_DIFFUSE_FRACTION_H

#include "BlockView.h"

#include <algorithm>
#include <span>

namespace vireo::em {

struct FractionModels {
    // For each model number, how many inputs it reads: the two irradiances and those after.
    std::span<const int> inputsRead;
    // What an input from IN[2] on means to a model, for the message when it is not connected.
    const char* (*meaning)(int model, int input);
};

// The model slot: the model number plus 1, held within range.
int fractionSlot(const FractionModels& models, int model);
// The model's tie with the wiring: every input that the model reads but the model does not
// connect is a counted error; true when there is none.
bool fractionInputsConnected(block::BlockView& b, const FractionModels& models, int model);

// The diffuse irradiance: 0 unless both irradiances are above 0, else the global one times
// the correlation's fraction at the clearness index, taken as at most 1.
template <class Fraction>
void stepFraction(block::BlockView& b, Fraction fraction) {
    const float global = b.in(0), extraterrestrial = b.in(1);
    if (!(global > 0.0f && extraterrestrial > 0.0f)) {
        b.out(0) = 0.0f;
        return;
    }
    b.out(0) = global * fraction(std::min(1.0f, global / extraterrestrial));
}

}  // namespace vireo::em

#endif
