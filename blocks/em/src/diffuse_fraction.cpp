#include "diffuse_fraction.h"

#include "messages.h"

namespace vireo::em {

int initFraction(block::BlockView& b, const FractionModels& models) {
    const int count = static_cast<int>(models.inputsRead.size());
    const block::Rule rule{.parameter = 0, .low = 0, .high = static_cast<float>(count - 1), .whole = true,
                           .code = code::badModel};
    const int model = b.mode(0, count);
    if (b.check(rule, b.par(0))) {
        // These inputs have no value to stand in for them: a model that reads one must
        // have it connected.
        for (int i = std::max(b.inputCount(), 2); i < models.inputsRead[model]; ++i)
            b.report(code::inputNotConnected, {.text = models.meaning(model, i), .ints = {model, i + 1}});
    }
    return model + 1;
}

}  // namespace vireo::em
