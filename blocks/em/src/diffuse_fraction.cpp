#include "diffuse_fraction.h"

#include "messages.h"

#include <algorithm>

namespace vireo::em {

int initFraction(block::BlockView& b, const FractionModels& models, int given) {
    const int model = std::clamp(given, 0, static_cast<int>(models.inputsRead.size()) - 1);
    if (!refused(b)) {
        // These inputs have no value to stand in for them: a model that reads one must
        // have it connected.
        for (int i = std::max(b.inputCount(), 2); i < models.inputsRead[model]; ++i)
            b.report(code::inputNotConnected, {.text = models.meaning(model, i), .ints = {model, i + 1}});
    }
    return model + 1;
}

}  // namespace vireo::em
