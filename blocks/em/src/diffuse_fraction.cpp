#include "diffuse_fraction.h"

#include "messages.h"

#include <algorithm>

namespace vireo::em {

int fractionSlot(const FractionModels& models, int model) {
    return std::clamp(model, 0, static_cast<int>(models.inputsRead.size()) - 1) + 1;
}

bool fractionInputsConnected(block::BlockView& b, const FractionModels& models, int given) {
    const int model = fractionSlot(models, given) - 1;
    // These inputs have no value to stand in for them: a model that reads one must have it
    // connected.
    bool held = true;
    for (int i = std::max(b.inputCount(), 2); i < models.inputsRead[model]; ++i) {
        b.report(code::inputNotConnected, {.text = models.meaning(model, i), .ints = {model, i + 1}});
        held = false;
    }
    return held;
}

}  // namespace vireo::em
