#include "air_collector_parameters.h"

namespace vireo::st::aircollector {

bool warnWideChannels(block::BlockView& b, float height, float width) {
    if (height > 0 && width > 0 && width / height > 1.5f) {
        b.report(code::wideChannel, {.reals = {width / height}});
        b.report(code::wideChannelResults);
    }
    return true;
}

float airPressure(const block::BlockView& b, int input) { return b.connected(input) ? b.in(input) : 100000.0f; }

}  // namespace vireo::st::aircollector
